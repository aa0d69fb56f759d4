# The game on Linux: build/game/dellomar on the SDL2 backend, with its data
# beside it.
find_package(SDL2 REQUIRED)
file(GLOB DELLOMAR_PLATFORM_SDL CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/sdl/*.cpp)
list(REMOVE_ITEM DELLOMAR_PLATFORM_SDL ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_main.cpp)
add_library(platform_sdl STATIC ${DELLOMAR_PLATFORM_SDL}
  ${DELLOMAR_SHARED_FILE_PLACES} ${DELLOMAR_SHARED_PRESS_LATCH}
  ${DELLOMAR_SHARED_STDIO_FILES} ${DELLOMAR_SHARED_MEMORY_DEVICES} ${DELLOMAR_SHARED_PLAYER_BACKEND})
target_include_directories(platform_sdl PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(platform_sdl PUBLIC SDL2::SDL2)

add_executable(dellomar ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_main.cpp)
target_link_libraries(dellomar PRIVATE dellomar_core platform_sdl)
set_target_properties(dellomar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_GAME_DIR})
add_dependencies(dellomar dellomar_data)
