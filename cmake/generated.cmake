# Generated sources (the glyph table) and data files (pictures, sounds), made
# at build time by the host tools.
set(DELLOMAR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${DELLOMAR_GENERATED_DIR})
set(DELLOMAR_GENERATED_SOURCES "")
include(cmake/gen_glyph_table.cmake)
include(cmake/gen_data.cmake)
