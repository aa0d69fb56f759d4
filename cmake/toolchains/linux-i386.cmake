# The game core as 32-bit x86 code (preset "i386"): the pointer and size
# widths of the platform the game was designed for, on a 64-bit Debian with
# g++-multilib. Machines that start no 32-bit program run the tests under
# qemu-i386-static (Debian's qemu-user-static), which ctest puts in front of
# each test program.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)

find_program(DELLOMAR_I386_EMULATOR qemu-i386-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${DELLOMAR_I386_EMULATOR})

# The installed GoogleTest is the build machine's 64-bit one: build it for
# this target from its source (Debian's googletest package).
set(DELLOMAR_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "")
# What the tests check the code runs with (tests/golden_game_test.cpp).
set(DELLOMAR_TARGET_POINTER_BYTES 4)
