# Cross build of the Windows game with MinGW-w64 for x86_64
# (Debian packages g++-mingw-w64-x86-64-posix, binutils-mingw-w64-x86-64).
set(DELLOMAR_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
