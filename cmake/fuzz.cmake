# libFuzzer targets for every reader of outside files (pictures, sounds, the
# saved game), on the fake backend, under AddressSanitizer and
# UndefinedBehaviorSanitizer. The game core is built with coverage
# instrumentation; only the fuzzers themselves link libFuzzer's main.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "DELLOMAR_FUZZ needs clang (libFuzzer); use the fuzz preset")
endif()

set(DELLOMAR_FUZZ_SANITIZERS address,undefined)
# The shared platform groups the fake backend links are compiled with it.
foreach(lib dellomar_core platform_fake ${DELLOMAR_FAKE_GROUPS})
  target_compile_options(${lib} PRIVATE
    -fsanitize=fuzzer-no-link,${DELLOMAR_FUZZ_SANITIZERS} -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
endforeach()

# Comparison tracing in the per-pixel loops (sprites, text, the fake display)
# costs most of a saved-game run and finds nothing there: bounds are not magic
# values. Their edges are still covered.
foreach(lib platform_fake ${DELLOMAR_FAKE_GROUPS})
  target_compile_options(${lib} PRIVATE -fno-sanitize-coverage=trace-cmp)
endforeach()
set_source_files_properties(
  ${CMAKE_SOURCE_DIR}/display/sprite.cpp ${CMAKE_SOURCE_DIR}/display/text.cpp
  ${CMAKE_SOURCE_DIR}/display/back_buffer.cpp
  TARGET_DIRECTORY dellomar_core
  PROPERTIES COMPILE_OPTIONS -fno-sanitize-coverage=trace-cmp)

set(DELLOMAR_FUZZ_DIR ${CMAKE_BINARY_DIR}/fuzz)
# Each target: its name, then the entry its inputs go through.
set(DELLOMAR_FUZZ_TARGETS bitmap wav saved_game)
set(DELLOMAR_FUZZ_ENTRY_bitmap FuzzBitmapInput)
set(DELLOMAR_FUZZ_ENTRY_wav FuzzWavInput)
set(DELLOMAR_FUZZ_ENTRY_saved_game FuzzSavedGameInput)
foreach(target ${DELLOMAR_FUZZ_TARGETS})
  set(exe fuzz_${target})
  add_executable(${exe}
    fuzz/fuzz_entries.cpp
    fuzz/fuzz_main.cpp
    fuzz/fuzz_scratch.cpp)
  target_compile_options(${exe} PRIVATE
    -fsanitize=fuzzer,${DELLOMAR_FUZZ_SANITIZERS} -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
  target_link_options(${exe} PRIVATE
    -fsanitize=fuzzer,${DELLOMAR_FUZZ_SANITIZERS} -fno-sanitize-recover=all)
  target_link_libraries(${exe} PRIVATE dellomar_headless)
  target_compile_definitions(${exe} PRIVATE FUZZ_ENTRY=${DELLOMAR_FUZZ_ENTRY_${target}}
    DELLOMAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DELLOMAR_GAME_DIR="${DELLOMAR_GAME_DIR}")
  set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_FUZZ_DIR})
  add_dependencies(${exe} dellomar_data)
endforeach()
