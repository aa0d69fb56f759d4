# The text font's glyphs, rasterized at build time into a generated table
# (tools/glyph_table_gen.cpp).
set(DELLOMAR_FONT_FILE /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    CACHE FILEPATH "The font the game's texts are drawn in")
if(NOT EXISTS ${DELLOMAR_FONT_FILE})
  message(FATAL_ERROR "Font ${DELLOMAR_FONT_FILE} not found (Debian: fonts-dejavu-core)")
endif()
# 14 pixels gives a 16-pixel line with the baseline 13 rows down, like the
# system font the texts were placed for.
set(DELLOMAR_FONT_PIXELS 14)

dellomar_host_tool(dellomar_glyphgen glyphgen_command
                   SOURCES tools/glyph_table_gen.cpp)

set(DELLOMAR_GLYPH_TABLE ${DELLOMAR_GENERATED_DIR}/glyph_table.cpp)
# Naming the tool (target or file) in DEPENDS re-runs it whenever it is rebuilt.
add_custom_command(
  OUTPUT ${DELLOMAR_GLYPH_TABLE}
  COMMAND ${glyphgen_command} ${DELLOMAR_FONT_FILE} ${DELLOMAR_FONT_PIXELS} ${DELLOMAR_GLYPH_TABLE}
  DEPENDS ${glyphgen_command} ${DELLOMAR_FONT_FILE}
  COMMENT "Rasterizing the text font"
  VERBATIM)
list(APPEND DELLOMAR_GENERATED_SOURCES ${DELLOMAR_GLYPH_TABLE})
