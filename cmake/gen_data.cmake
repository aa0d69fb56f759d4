# The game folder's pictures and sounds, painted and synthesized at build time by
# our own tool (tools/datagen).
set(DELLOMAR_DATA_FONT_BOLD "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
    CACHE FILEPATH "Font of the digits and button labels in the tile atlas")
if(NOT EXISTS ${DELLOMAR_DATA_FONT_BOLD})
  message(FATAL_ERROR "Font ${DELLOMAR_DATA_FONT_BOLD} not found (Debian: fonts-dejavu-core)")
endif()

dellomar_host_tool(dellomar_datagen datagen_command SOURCES
  tools/datagen/atlas_buttons.cpp tools/datagen/atlas_cells.cpp tools/datagen/atlas_lamp.cpp
  tools/datagen/atlas_marks.cpp tools/datagen/atlas_painter.cpp tools/datagen/backdrop_painter.cpp
  tools/datagen/bmp_writer.cpp tools/datagen/canvas.cpp tools/datagen/datagen_main.cpp
  tools/datagen/font_text.cpp tools/datagen/ico_writer.cpp tools/datagen/icon_painter.cpp
  tools/datagen/noise.cpp tools/datagen/png_writer.cpp tools/datagen/sound_synth.cpp
  tools/datagen/wav_writer.cpp)

set(DELLOMAR_DATA_FILES
  ${DELLOMAR_GAME_DIR}/Textures/txtr.txr
  ${DELLOMAR_GAME_DIR}/Textures/back.txr
  ${DELLOMAR_GAME_DIR}/Sounds/clk.wav
  ${DELLOMAR_GAME_DIR}/Sounds/bng.wav
  ${DELLOMAR_GAME_DIR}/Sounds/wd.wav)
# Naming the tool (target or file) in DEPENDS re-runs it whenever it is rebuilt.
add_custom_command(
  OUTPUT ${DELLOMAR_DATA_FILES}
  COMMAND ${datagen_command} ${DELLOMAR_GAME_DIR} ${DELLOMAR_DATA_FONT_BOLD}
  DEPENDS ${datagen_command} ${DELLOMAR_DATA_FONT_BOLD}
  COMMENT "Painting the pictures and synthesizing the sounds of the game folder"
  VERBATIM)
add_custom_target(dellomar_data ALL DEPENDS ${DELLOMAR_DATA_FILES})

# The desktop, Windows and web page icons, painted by the same tool from the game's art.
set(DELLOMAR_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(DELLOMAR_ICON_SIZES 16 24 32 48 64 128 256)
set(DELLOMAR_ICON_FILES ${DELLOMAR_ICON_DIR}/dellomar.ico)
# The web page's manifest names two more sizes (cmake/backend_web.cmake).
set(DELLOMAR_WEB_ICON_SIZES 192 512)
foreach(size ${DELLOMAR_ICON_SIZES} ${DELLOMAR_WEB_ICON_SIZES})
  list(APPEND DELLOMAR_ICON_FILES ${DELLOMAR_ICON_DIR}/${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${DELLOMAR_ICON_FILES}
  COMMAND ${datagen_command} --icons ${DELLOMAR_ICON_DIR} ${DELLOMAR_DATA_FONT_BOLD}
  DEPENDS ${datagen_command} ${DELLOMAR_DATA_FONT_BOLD}
  COMMENT "Painting the icons"
  VERBATIM)
add_custom_target(dellomar_icons ALL DEPENDS ${DELLOMAR_ICON_FILES})
