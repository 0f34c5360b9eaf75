# Build for 32-bit x86 Linux with Debian's multilib compilers (g++-multilib), with the maths
# flags of the 32-bit DLL (the project adds -msse2 -mfpmath=sse for every 32-bit x86 target).
# Programs run under qemu-i386, which starts them also on kernels that cannot run 32-bit
# programs themselves. They carry their C++ runtime and load the C library through the
# multilib loader; a static C library would have the linker warn about GoogleTest's sockets.
# Without a 32-bit window system to link, the build has no editor (OMBRAFELL_EDITOR): it is for
# the engine's tests and the golden renders.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-m32 -static-libstdc++ -static-libgcc -Wl,--dynamic-linker=/lib32/ld-linux.so.2")
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
find_program(OMBRAFELL_QEMU_I386 qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${OMBRAFELL_QEMU_I386})
set(OMBRAFELL_EDITOR OFF CACHE BOOL "")
set(OMBRAFELL_BUILD_BENCHMARKS OFF CACHE BOOL "")
