# Compiler flags shared by every target of the project.
#
# The baud-rate figures must come out bit for bit the same on every platform:
# SSE2 arithmetic on x86 (never x87), no fused multiply-add, no fast-math.
# WebAssembly's float and double arithmetic is IEEE single and double
# precision by definition.
add_library(tesmirol_options INTERFACE)
add_library(tesmirol::options ALIAS tesmirol_options)

target_compile_options(tesmirol_options INTERFACE
  -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
  -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference
  -ffp-contract=off -fno-fast-math)
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "wasm32")
  target_compile_options(tesmirol_options INTERFACE -msse2 -mfpmath=sse)
endif()

if(TESMIROL_WERROR)
  target_compile_options(tesmirol_options INTERFACE -Werror)
endif()

# Sanitizers for every target of a checking build (the asan and fuzz presets):
# any report stops the program, so a test or fuzzer fails on the first fault.
# The floating-point checks are named because g++ leaves them out of
# "undefined": the engine must never divide by zero or convert a float that
# does not fit its integer.
set(TESMIROL_SANITIZERS "" CACHE STRING
  "Comma-separated -fsanitize= list for every target, e.g. address,undefined")
if(TESMIROL_SANITIZERS)
  target_compile_options(tesmirol_options INTERFACE
    -fsanitize=${TESMIROL_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(tesmirol_options INTERFACE -fsanitize=${TESMIROL_SANITIZERS})
  # The sanitizers' checks keep g++'s flow analysis from seeing through the
  # standard library's own objects (std::function inside std::regex): at -O1
  # it reports them "maybe uninitialized" where the plain builds see none.
  # The plain builds keep the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(tesmirol_options INTERFACE -Wno-maybe-uninitialized)
  endif()
endif()

# Fuzzing builds instrument every library for libFuzzer's coverage feedback;
# only the fuzz targets themselves link libFuzzer's main.
if(TESMIROL_FUZZ)
  target_compile_options(tesmirol_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

if(WIN32)
  target_compile_definitions(tesmirol_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
  # One self-contained executable: no libstdc++, libgcc or winpthread DLLs.
  target_link_options(tesmirol_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()
