# Builds the module and its tests for 32-bit x86 Linux with Debian's
# g++-multilib and runs the test programs under qemu-i386-static, since the
# build machine's kernel need not run 32-bit programs itself.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)

find_program(TARVELIN_QEMU_I386 qemu-i386-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVELIN_QEMU_I386})

# Programs are the build machine's; libraries and headers are the target's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
