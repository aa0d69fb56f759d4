# Generated sources (the glyph table) and data files (pictures, sounds).
# Each generator adds its output to DELLOMAR_GENERATED_SOURCES or to the
# dellomar_data target.
set(DELLOMAR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${DELLOMAR_GENERATED_DIR})
set(DELLOMAR_GENERATED_SOURCES "")
file(GLOB DELLOMAR_GENERATOR_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/gen_*.cmake)
foreach(gen ${DELLOMAR_GENERATOR_FILES})
  include(${gen})
endforeach()
