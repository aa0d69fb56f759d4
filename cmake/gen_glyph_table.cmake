# The text font's glyphs, rasterized at build time into a generated table.
# The generator runs on the build machine: a cross build passes
# -DDELLOMAR_HOST_TOOLS_DIR=<dir> holding a glyph_table_gen built for the host.
set(DELLOMAR_FONT_FILE /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    CACHE FILEPATH "The font the game's texts are drawn in")
# 14 pixels gives a 16-pixel line with the baseline 13 rows down, like the
# system font the texts were placed for.
set(DELLOMAR_FONT_PIXELS 14)

if(DELLOMAR_HOST_TOOLS_DIR)
  set(DELLOMAR_GLYPH_GEN ${DELLOMAR_HOST_TOOLS_DIR}/glyph_table_gen)
  set(DELLOMAR_GLYPH_GEN_DEPENDS ${DELLOMAR_GLYPH_GEN})
else()
  find_package(Freetype REQUIRED)
  add_executable(glyph_table_gen ${CMAKE_SOURCE_DIR}/tools/glyph_table_gen.cpp)
  target_link_libraries(glyph_table_gen PRIVATE Freetype::Freetype)
  set(DELLOMAR_GLYPH_GEN $<TARGET_FILE:glyph_table_gen>)
  set(DELLOMAR_GLYPH_GEN_DEPENDS glyph_table_gen)
endif()

set(DELLOMAR_GLYPH_TABLE ${DELLOMAR_GENERATED_DIR}/glyph_table.cpp)
add_custom_command(
  OUTPUT ${DELLOMAR_GLYPH_TABLE}
  COMMAND ${DELLOMAR_GLYPH_GEN} ${DELLOMAR_FONT_FILE} ${DELLOMAR_FONT_PIXELS} ${DELLOMAR_GLYPH_TABLE}
  DEPENDS ${DELLOMAR_GLYPH_GEN_DEPENDS} ${DELLOMAR_FONT_FILE}
  COMMENT "Rasterizing the text font"
  VERBATIM)
list(APPEND DELLOMAR_GENERATED_SOURCES ${DELLOMAR_GLYPH_TABLE})
