#pragma once
// Win32 carries pointers and handles in the integer parameters and results
// of messages. These are the only places where the program converts between
// the two, each named for what it carries.

#include <windows.h>

#include <cstdint>

namespace tesmirol {

// The object pointer stored in an integer (an LPARAM, a DWORD_PTR of a
// subclass, a DWLP_USER slot).
template <class T>
T* PointerFromParam(std::intptr_t param) noexcept {
  return reinterpret_cast<T*>(param);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
}

// A pointer as the LPARAM of a message.
inline LPARAM ParamFromPointer(const void* pointer) noexcept {
  return reinterpret_cast<LPARAM>(pointer);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

// The device context that WM_ERASEBKGND, WM_PRINTCLIENT and
// WM_ICONERASEBKGND carry in their WPARAM.
inline HDC DcFromParam(WPARAM param) noexcept {
  return reinterpret_cast<HDC>(param);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
}

// A device context as the WPARAM of a message.
inline WPARAM ParamFromDc(HDC dc) noexcept {
  return reinterpret_cast<WPARAM>(dc);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

// A handle (an icon for WM_SETICON or WM_QUERYDRAGICON) as an LPARAM or a
// message result.
inline LPARAM ParamFromHandle(HANDLE handle) noexcept {
  return reinterpret_cast<LPARAM>(handle);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

// The font that WM_GETFONT returns as its result.
inline HFONT FontFromResult(LRESULT result) noexcept {
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
  return reinterpret_cast<HFONT>(result);
}

}  // namespace tesmirol
