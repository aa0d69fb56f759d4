# The runnable game folder: build/game/dellomar with its data beside it.
if(DELLOMAR_SDL)
  find_package(SDL2 REQUIRED)
  find_library(SDL2_MIXER_LIBRARY SDL2_mixer)
  file(GLOB DELLOMAR_PLATFORM_SDL CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/sdl/*.cpp)
  list(REMOVE_ITEM DELLOMAR_PLATFORM_SDL ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_main.cpp)
  add_library(platform_sdl STATIC ${DELLOMAR_PLATFORM_SDL})
  target_link_libraries(platform_sdl PUBLIC platform_common SDL2::SDL2)
  if(SDL2_MIXER_LIBRARY)
    target_link_libraries(platform_sdl PUBLIC ${SDL2_MIXER_LIBRARY})
  endif()

  add_executable(dellomar ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_main.cpp)
  target_link_libraries(dellomar PRIVATE dellomar_core platform_sdl dellomar_core platform_sdl)
  set_target_properties(dellomar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_GAME_DIR})
  if(TARGET dellomar_data)
    add_dependencies(dellomar dellomar_data)
  endif()
endif()

# The native Windows game (cross-built with cmake/toolchains/mingw-*.cmake):
# game/dellomar.exe on the Win32, DirectDraw, DirectInput, DirectSound and
# DirectMusic backend.
if(WIN32)
  file(GLOB DELLOMAR_PLATFORM_WIN32 CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
  list(REMOVE_ITEM DELLOMAR_PLATFORM_WIN32 ${CMAKE_SOURCE_DIR}/platform/win32/win32_main.cpp)
  add_library(platform_win32 STATIC ${DELLOMAR_PLATFORM_WIN32}
    ${CMAKE_SOURCE_DIR}/platform/common/press_latch.cpp)
  target_include_directories(platform_win32 PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(platform_win32 PUBLIC ddraw dinput8 dsound ole32 uuid dxguid gdi32 user32)

  add_executable(dellomar WIN32 ${CMAKE_SOURCE_DIR}/platform/win32/win32_main.cpp)
  target_link_libraries(dellomar PRIVATE dellomar_core platform_win32 dellomar_core platform_win32)
  set_target_properties(dellomar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_GAME_DIR})
  if(TARGET dellomar_data)
    add_dependencies(dellomar dellomar_data)
  endif()
endif()
