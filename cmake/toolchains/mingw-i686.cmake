# Cross build of the Windows game with MinGW-w64 for i686, Windows on x86
# (Debian packages g++-mingw-w64-i686-posix, binutils-mingw-w64-i686).
set(DELLOMAR_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
