# Benchmarks (Google Benchmark): the frames and loaders on the fake backend,
# and the presentation of a frame on the SDL backend. tools/run_benchmarks.sh
# builds and runs them; they are never part of the tests.
set(DELLOMAR_BENCH_DIR ${CMAKE_BINARY_DIR}/bench)

add_executable(dellomar_bench
  bench/bench_frame.cpp bench/bench_loaders.cpp bench/bench_main.cpp bench/bench_report.cpp
  bench/bench_sprites.cpp bench/bench_support.cpp)
target_link_libraries(dellomar_bench PRIVATE dellomar_headless benchmark::benchmark)
target_compile_definitions(dellomar_bench PRIVATE DELLOMAR_GAME_DIR="${DELLOMAR_GAME_DIR}")
set_target_properties(dellomar_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_BENCH_DIR})
add_dependencies(dellomar_bench dellomar_data)

if(DELLOMAR_SDL)
  add_executable(dellomar_bench_sdl bench/bench_sdl_present.cpp)
  target_link_libraries(dellomar_bench_sdl PRIVATE dellomar_core platform_sdl benchmark::benchmark)
  set_target_properties(dellomar_bench_sdl PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_BENCH_DIR})
endif()
