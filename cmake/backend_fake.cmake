# The in-memory backend: surfaces in memory, scripted input, a settable clock,
# a record of every platform call. Tests, benchmarks and fuzzers run on it.
file(GLOB DELLOMAR_PLATFORM_FAKE CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/fake/*.cpp)
add_library(platform_fake STATIC ${DELLOMAR_PLATFORM_FAKE}
  ${DELLOMAR_SHARED_FILE_PLACES} ${DELLOMAR_SHARED_PRESS_LATCH} ${DELLOMAR_SHARED_TOUCH}
  ${DELLOMAR_SHARED_STDIO_FILES} ${DELLOMAR_SHARED_MEMORY_DEVICES})
target_include_directories(platform_fake PUBLIC ${CMAKE_SOURCE_DIR})

# The game core on the fake backend.
add_library(dellomar_headless INTERFACE)
target_link_libraries(dellomar_headless INTERFACE dellomar_core platform_fake)

# The README's picture, made from the game's own frames:
#   cd build/game && ../tools/dellomar_screenshot ../../docs/screenshot.png
# Not in the fuzz build, whose libraries carry the fuzzers' instrumentation.
if(NOT DELLOMAR_FUZZ)
  add_executable(dellomar_screenshot ${CMAKE_SOURCE_DIR}/tools/screenshot/make_screenshot.cpp)
  target_link_libraries(dellomar_screenshot PRIVATE dellomar_headless)
  set_target_properties(dellomar_screenshot PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()
