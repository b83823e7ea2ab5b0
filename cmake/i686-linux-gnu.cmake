# 32-bit x86 Linux with the machine's own g++ (-m32, Debian's g++-multilib): the portable core,
# tarnpack and the unit tests with a 32-bit size_t and address space, like the i686 product.
# Programs run through scripts/run-i386.sh: directly where the kernel runs 32-bit code, under
# qemu-i386 where it does not.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# SSE2 arithmetic like the MinGW i686 default in practice; keeps x87 excess precision out of
# the results the tests compare.
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/run-i386.sh)
