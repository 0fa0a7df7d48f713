#pragma once
// Addresses passed in a message's LPARAM, as Win32 wants them: the one place
// where the tests turn a pointer into an integer and back.

#include <windows.h>

namespace tesmirol::e2e {

template <class T>
LPARAM PointerParam(T* pointer) noexcept {
  return reinterpret_cast<LPARAM>(pointer);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

template <class T>
T* PointerFromParam(LPARAM param) noexcept {
  return reinterpret_cast<T*>(param);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
}

}  // namespace tesmirol::e2e
