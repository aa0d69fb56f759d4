# Unit and end-to-end tests on the fake backend (GoogleTest), the soak test,
# the sanitizer probes, the smoke tests of the real game in Xvfb, and the
# check that the game core stays off the platform.
include(GoogleTest)
# The fuzzers' entries also run here, over every file kept in
# tests/regressions/<target>/ and over the seed corpora in fuzz/corpus/<target>/.
add_executable(dellomar_tests
  fuzz/fuzz_entries.cpp
  tests/app_shell_test.cpp tests/changed_area_test.cpp tests/data_pictures_test.cpp
  tests/data_sounds_test.cpp tests/display_bitmap_test.cpp tests/display_blit_blocks_test.cpp
  tests/display_device_test.cpp tests/display_frame_test.cpp tests/display_sprite_test.cpp
  tests/display_text_test.cpp tests/entry_screen_test.cpp tests/fake_video_guard_test.cpp
  tests/field_test.cpp tests/file_places_test.cpp tests/fuzz_regressions_test.cpp
  tests/golden_game_test.cpp tests/input_devices_test.cpp tests/missing_pieces_test.cpp
  tests/play_screen_test.cpp tests/play_support.cpp tests/press_latch_test.cpp
  tests/quit_keys_test.cpp tests/saved_game_faults_test.cpp tests/saved_game_test.cpp
  tests/scripted_game.cpp tests/sound_effects_test.cpp tests/sound_music_test.cpp
  tests/test_support.cpp tests/touch_play_test.cpp)
target_link_libraries(dellomar_tests PRIVATE dellomar_headless GTest::gtest GTest::gtest_main)
target_compile_definitions(dellomar_tests PRIVATE DELLOMAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  DELLOMAR_GAME_DIR="${DELLOMAR_GAME_DIR}" DELLOMAR_BUILD_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(dellomar_tests dellomar_data)
# A build for another processor says which pointer width its code must run with.
if(DELLOMAR_TARGET_POINTER_BYTES)
  target_compile_definitions(dellomar_tests PRIVATE
    DELLOMAR_TARGET_POINTER_BYTES=${DELLOMAR_TARGET_POINTER_BYTES})
endif()
gtest_discover_tests(dellomar_tests DISCOVERY_TIMEOUT 60)

# The data generator's icon writers and its backdrop painted and written in
# pieces. The generator is a build machine's tool (a cross build takes it from
# DELLOMAR_HOST_TOOLS_DIR), so its tests run in the build machine's own build,
# which has its zlib.
if(NOT CMAKE_CROSSCOMPILING)
  add_executable(dellomar_datagen_tests
    tests/datagen/icon_files_test.cpp
    tools/datagen/backdrop_painter.cpp tools/datagen/bmp_writer.cpp tools/datagen/canvas.cpp
    tools/datagen/ico_writer.cpp tools/datagen/noise.cpp tools/datagen/png_writer.cpp)
  target_include_directories(dellomar_datagen_tests PRIVATE ${CMAKE_SOURCE_DIR})
  find_package(ZLIB REQUIRED)
  target_link_libraries(dellomar_datagen_tests PRIVATE GTest::gtest GTest::gtest_main ZLIB::ZLIB)
  gtest_discover_tests(dellomar_datagen_tests DISCOVERY_TIMEOUT 60)
endif()

# Checks of the source tree, not of the code built: once, in the build
# machine's own build.
if(NOT CMAKE_CROSSCOMPILING)
  add_test(NAME core_includes COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check_core_includes.sh)
  add_test(NAME formatting COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check_format.sh)
  add_test(NAME sources_listed COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check_sources_listed.sh)
endif()

# The soak test runs alone in a program of its own: it replaces the global
# operator new and delete, and routes the malloc family of everything linked
# into it through counters (tests/soak/counting_allocator.cpp).
add_executable(dellomar_soak
  tests/soak/counting_allocator.cpp
  tests/soak/soak_test.cpp
  tests/test_support.cpp)
target_link_libraries(dellomar_soak PRIVATE dellomar_headless GTest::gtest GTest::gtest_main)
target_link_options(dellomar_soak PRIVATE
  -Wl,--wrap=malloc,--wrap=calloc,--wrap=realloc,--wrap=free)
# Sanitized or emulated frames are several times slower: fewer of them keep
# the run short.
if(DELLOMAR_SANITIZE OR CMAKE_CROSSCOMPILING_EMULATOR)
  set(soak_frames 20000)
else()
  set(soak_frames 200000)
endif()
target_compile_definitions(dellomar_soak PRIVATE
  DELLOMAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DELLOMAR_GAME_DIR="${DELLOMAR_GAME_DIR}"
  DELLOMAR_SOAK_DEFAULT_FRAMES=${soak_frames})
add_dependencies(dellomar_soak dellomar_data)
add_test(NAME soak COMMAND dellomar_soak)
set_tests_properties(soak PROPERTIES LABELS soak TIMEOUT 600)

# The POSIX file layer against hostile files, on the real disk: a program of
# its own because it routes fsync and getentropy through the test's wrappers
# (tests/files/syscall_wraps.cpp), to see the folder flushed and to make the
# temporary names predictable.
add_executable(dellomar_file_test
  tests/files/file_test_support.cpp tests/files/hostile_files_test.cpp
  tests/files/player_folder_test.cpp tests/files/syscall_wraps.cpp
  tests/test_support.cpp)
target_link_libraries(dellomar_file_test PRIVATE dellomar_headless GTest::gtest GTest::gtest_main)
target_link_options(dellomar_file_test PRIVATE -Wl,--wrap=fsync,--wrap=getentropy)
target_compile_definitions(dellomar_file_test PRIVATE
  DELLOMAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DELLOMAR_GAME_DIR="${DELLOMAR_GAME_DIR}")
set_target_properties(dellomar_file_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(dellomar_file_test dellomar_data)
# A read that waited on a FIFO would hang: the timeout turns that into a failure.
gtest_discover_tests(dellomar_file_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)

# Two programs that must be caught by the sanitizer build: one leaks (so
# LeakSanitizer must be on) and one overflows (so UndefinedBehaviorSanitizer
# must stop the program, not just report and go on).
if(DELLOMAR_SANITIZE)
  foreach(probe leak_probe overflow_probe)
    add_executable(sanitizer_${probe} tests/sanitizer/${probe}.cpp)
    set_target_properties(sanitizer_${probe} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME sanitizer.${probe} COMMAND sanitizer_${probe})
  endforeach()
  set_tests_properties(sanitizer.leak_probe PROPERTIES
    PASS_REGULAR_EXPRESSION "LeakSanitizer: detected memory leaks")
  set_tests_properties(sanitizer.overflow_probe PROPERTIES
    PASS_REGULAR_EXPRESSION "runtime error: signed integer overflow"
    FAIL_REGULAR_EXPRESSION "went on after the overflow")
endif()

# The real executable and programs on the SDL backend, in a real X server.
# Each script is one ctest; the programs print what the scripts judge.
if(DELLOMAR_SDL)
  foreach(check sdl_input_check sdl_audio_check)
    add_executable(${check} tests/sdl/${check}.cpp)
    target_link_libraries(${check} PRIVATE dellomar_core platform_sdl)
    set_target_properties(${check} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/sdl-checks)
  endforeach()
  add_executable(dellomar_sdl_video_test tests/sdl/sdl_video_test.cpp)
  # It reads back what the X server shows, as a player would see it.
  find_package(X11 REQUIRED)
  target_link_libraries(dellomar_sdl_video_test PRIVATE dellomar_core platform_sdl X11::X11)
  set_target_properties(dellomar_sdl_video_test PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

  set(smoke_scripts
    display_sdl
    file_places
    focus_window_manager
    hostile_files
    input_xtest
    missing_pieces
    play_click
    shell
    software_display
    sound_disk_output)
  foreach(name ${smoke_scripts})
    add_test(NAME smoke.${name}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/smoke/${name}.sh ${DELLOMAR_GAME_DIR})
    # Each starts its own X server on a display of its own, so they run side by side.
    set_tests_properties(smoke.${name} PROPERTIES LABELS smoke TIMEOUT 240)
  endforeach()
endif()
