# Shared by the MinGW-w64 toolchain files, which set DELLOMAR_MINGW_ARCH first.
# The posix thread flavour has the whole C++ library; with everything linked
# statically the executable needs no DLL beyond the system's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${DELLOMAR_MINGW_ARCH})

set(DELLOMAR_MINGW_PREFIX ${DELLOMAR_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${DELLOMAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DELLOMAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DELLOMAR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DELLOMAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
