// The stack protector's two symbols, which Debian's compiler-rt builtins for
// wasm32 (built with -fstack-protector) refer to and wasi-libc does not
// define: the 128-bit division helpers the link check's exact arithmetic
// uses (__umodti3, __udivti3) need them to link. A smashed canary stops the
// module with a trap, which the page reports as an error.

#include <cstdint>

extern "C" {

// The canary's value; any value other than 0 catches a plain overrun of zeros.
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,cppcoreguidelines-avoid-non-const-global-variables)
std::uintptr_t __stack_chk_guard = 0x595e9fbdU;

// Called when a function finds its canary overwritten.
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
[[noreturn]] void __stack_chk_fail() { __builtin_trap(); }
}
