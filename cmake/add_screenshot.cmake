# The README's picture, made from the game's own frames on the in-memory backend:
#   cd build/game && ../tools/dellomar_screenshot ../../docs/screenshot.png
# Not in the fuzz build, whose libraries carry the fuzzers' instrumentation.
if(NOT DELLOMAR_FUZZ)
  add_executable(dellomar_screenshot ${CMAKE_SOURCE_DIR}/tools/screenshot/make_screenshot.cpp)
  target_link_libraries(dellomar_screenshot PRIVATE dellomar_headless)
  set_target_properties(dellomar_screenshot PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()
