# The native Windows game (cross-built with cmake/toolchains/mingw-*.cmake):
# game/dellomar.exe on the Win32, DirectDraw, DirectInput, DirectSound and
# DirectMusic backend.
# Native files, devices and queue: only two shared groups.
dellomar_backend_library(platform_win32
  SOURCES
  platform/win32/win32_audio.cpp platform/win32/win32_file.cpp platform/win32/win32_input.cpp
  platform/win32/win32_music.cpp platform/win32/win32_pace.cpp platform/win32/win32_paths.cpp
  platform/win32/win32_report.cpp platform/win32/win32_system.cpp platform/win32/win32_video.cpp
  GROUPS
  platform_file_places platform_press_latch)
target_link_libraries(platform_win32 PUBLIC ddraw dinput8 dsound ole32 uuid dxguid gdi32 user32 shell32 winmm)

add_executable(dellomar WIN32 platform/win32/win32_main.cpp)
target_link_libraries(dellomar PRIVATE dellomar_core platform_win32)
set_target_properties(dellomar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_GAME_DIR})
add_dependencies(dellomar dellomar_data dellomar_icons)
# The icon, version resource and application manifest, through windres.
enable_language(RC)
set(DELLOMAR_RC ${CMAKE_BINARY_DIR}/packaging/dellomar.rc)
set(DELLOMAR_MANIFEST ${CMAKE_BINARY_DIR}/packaging/dellomar.manifest)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/dellomar.manifest.in ${DELLOMAR_MANIFEST} @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/dellomar.rc.in ${DELLOMAR_RC} @ONLY)
set_source_files_properties(${DELLOMAR_RC} PROPERTIES
  OBJECT_DEPENDS "${DELLOMAR_ICON_DIR}/dellomar.ico;${DELLOMAR_MANIFEST}")
target_sources(dellomar PRIVATE ${DELLOMAR_RC})

# Checks of the backend on a real Win32 (or Wine), beside the game:
# <build>/checks/dellomar_win32_check.exe, run by tests/win32/smoke_wine.sh.
add_executable(dellomar_win32_check tests/win32/win32_backend_check.cpp)
target_link_libraries(dellomar_win32_check PRIVATE platform_win32)
set_target_properties(dellomar_win32_check PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/checks)
