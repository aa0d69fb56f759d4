# The text font's glyphs, rasterized at build time into a generated table
# (tools/glyph_table_gen.cpp). Cross builds pass -DDELLOMAR_HOST_TOOLS_DIR=<dir>
# holding a dellomar_glyphgen built for the build machine (a native build
# leaves one in <build>/tools).
set(DELLOMAR_HOST_TOOLS_DIR "" CACHE PATH "Folder with prebuilt host tools for cross builds")
set(DELLOMAR_FONT_FILE /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    CACHE FILEPATH "The font the game's texts are drawn in")
if(NOT EXISTS ${DELLOMAR_FONT_FILE})
  message(FATAL_ERROR "Font ${DELLOMAR_FONT_FILE} not found (Debian: fonts-dejavu-core)")
endif()
# 14 pixels gives a 16-pixel line with the baseline 13 rows down, like the
# system font the texts were placed for.
set(DELLOMAR_FONT_PIXELS 14)

if(DELLOMAR_HOST_TOOLS_DIR)
  find_program(DELLOMAR_GLYPHGEN NAMES dellomar_glyphgen PATHS ${DELLOMAR_HOST_TOOLS_DIR}
               NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH NO_CACHE)
  if(NOT DELLOMAR_GLYPHGEN)
    message(FATAL_ERROR "No dellomar_glyphgen in DELLOMAR_HOST_TOOLS_DIR=${DELLOMAR_HOST_TOOLS_DIR}")
  endif()
  set(glyphgen_command ${DELLOMAR_GLYPHGEN})
else()
  find_package(Freetype REQUIRED)
  add_executable(dellomar_glyphgen ${CMAKE_SOURCE_DIR}/tools/glyph_table_gen.cpp)
  target_link_libraries(dellomar_glyphgen PRIVATE Freetype::Freetype)
  set_target_properties(dellomar_glyphgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(glyphgen_command dellomar_glyphgen)
endif()

set(DELLOMAR_GLYPH_TABLE ${DELLOMAR_GENERATED_DIR}/glyph_table.cpp)
# Naming the tool (target or file) in DEPENDS re-runs it whenever it is rebuilt.
add_custom_command(
  OUTPUT ${DELLOMAR_GLYPH_TABLE}
  COMMAND ${glyphgen_command} ${DELLOMAR_FONT_FILE} ${DELLOMAR_FONT_PIXELS} ${DELLOMAR_GLYPH_TABLE}
  DEPENDS ${glyphgen_command} ${DELLOMAR_FONT_FILE}
  COMMENT "Rasterizing the text font"
  VERBATIM)
list(APPEND DELLOMAR_GENERATED_SOURCES ${DELLOMAR_GLYPH_TABLE})
