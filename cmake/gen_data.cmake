# The game folder's pictures and sounds, painted and synthesized at build time by
# our own tool (tools/datagen).
set(DELLOMAR_DATA_FONT_BOLD "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
    CACHE FILEPATH "Font of the digits and button labels in the tile atlas")
if(NOT EXISTS ${DELLOMAR_DATA_FONT_BOLD})
  message(FATAL_ERROR "Font ${DELLOMAR_DATA_FONT_BOLD} not found (Debian: fonts-dejavu-core)")
endif()

file(GLOB DELLOMAR_DATAGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/datagen/*.cpp)
dellomar_host_tool(dellomar_datagen datagen_command SOURCES ${DELLOMAR_DATAGEN_SOURCES})

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
