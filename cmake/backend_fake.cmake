# The in-memory backend: surfaces in memory, scripted input, a settable clock,
# a record of every platform call. Tests, benchmarks and fuzzers run on it.
# The shared groups it is built with (the fuzzers instrument them with it).
set(DELLOMAR_FAKE_GROUPS platform_file_places platform_memory_devices platform_press_latch
  platform_stdio_files platform_touch)
dellomar_backend_library(platform_fake
  SOURCES
  platform/fake/fake_audio.cpp platform/fake/fake_core.cpp platform/fake/fake_file.cpp
  platform/fake/fake_input.cpp platform/fake/fake_music.cpp platform/fake/fake_png.cpp
  platform/fake/fake_system.cpp platform/fake/fake_video.cpp
  GROUPS ${DELLOMAR_FAKE_GROUPS})

# The game core on the fake backend.
add_library(dellomar_headless INTERFACE)
target_link_libraries(dellomar_headless INTERFACE dellomar_core platform_fake)

# The README's picture, made from the game's own frames:
#   cd build/game && ../tools/dellomar_screenshot ../../docs/screenshot.png
# Not in the fuzz build, whose libraries carry the fuzzers' instrumentation.
if(NOT DELLOMAR_FUZZ)
  add_executable(dellomar_screenshot tools/screenshot/make_screenshot.cpp)
  target_link_libraries(dellomar_screenshot PRIVATE dellomar_headless)
  set_target_properties(dellomar_screenshot PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()
