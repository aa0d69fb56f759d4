# Checks of the Windows backend on a real Win32 (or Wine), beside the game:
# <build>/checks/dellomar_win32_check.exe, run by tests/win32/smoke_wine.sh.
if(WIN32)
  add_executable(dellomar_win32_check ${CMAKE_SOURCE_DIR}/tests/win32/win32_backend_check.cpp)
  target_link_libraries(dellomar_win32_check PRIVATE platform_win32)
  set_target_properties(dellomar_win32_check PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/checks)
endif()
