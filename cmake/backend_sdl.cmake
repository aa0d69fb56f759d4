# The game on Linux: build/game/dellomar on the SDL2 backend, with its data
# beside it.
find_package(SDL2 REQUIRED)
dellomar_backend_library(platform_sdl
  SOURCES
  platform/sdl/sdl_audio.cpp platform/sdl/sdl_file.cpp platform/sdl/sdl_input.cpp
  platform/sdl/sdl_system.cpp platform/sdl/sdl_video.cpp platform/sdl/sdl_window_surface.cpp
  GROUPS
  platform_file_places platform_memory_devices platform_player_backend platform_press_latch
  platform_stdio_files)
target_link_libraries(platform_sdl PUBLIC SDL2::SDL2)

add_executable(dellomar platform/sdl/sdl_main.cpp)
target_link_libraries(dellomar PRIVATE dellomar_core platform_sdl)
set_target_properties(dellomar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_GAME_DIR})
add_dependencies(dellomar dellomar_data)
