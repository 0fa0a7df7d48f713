# Compiler flags shared by every target of the project.
#
# The baud-rate figures must come out bit for bit the same on every platform:
# SSE2 arithmetic (never x87), no fused multiply-add, no fast-math.
add_library(tesmirol_options INTERFACE)
add_library(tesmirol::options ALIAS tesmirol_options)

target_compile_options(tesmirol_options INTERFACE
  -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
  -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference
  -ffp-contract=off -fno-fast-math -msse2 -mfpmath=sse)

if(TESMIROL_WERROR)
  target_compile_options(tesmirol_options INTERFACE -Werror)
endif()

if(WIN32)
  target_compile_definitions(tesmirol_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
  # One self-contained executable: no libstdc++, libgcc or winpthread DLLs.
  target_link_options(tesmirol_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()
