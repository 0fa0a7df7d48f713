#pragma once
// Owned GDI objects: a font or brush created for one paint is deleted when
// its owner goes out of scope, also when the paint is cut short.

#include <windows.h>

#include <utility>

namespace tesmirol {

// Owns one GDI object handle of type Handle (HFONT, HBRUSH, ...) and deletes
// it with DeleteObject. Deselect it from every DC before the owner dies.
template <class Handle>
class UniqueGdiObject {
 public:
  UniqueGdiObject() noexcept = default;
  explicit UniqueGdiObject(Handle handle) noexcept : m_handle(handle) {}
  UniqueGdiObject(const UniqueGdiObject&) = delete;
  UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
  UniqueGdiObject(UniqueGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
    if (this != &other) {
      Reset(std::exchange(other.m_handle, nullptr));
    }
    return *this;
  }
  ~UniqueGdiObject() { Reset(nullptr); }

  // The handle, still owned; null when creation failed.
  [[nodiscard]] Handle Get() const noexcept { return m_handle; }

  // Deletes the owned object and takes handle instead.
  void Reset(Handle handle) noexcept {
    if (m_handle != nullptr) {
      DeleteObject(m_handle);
    }
    m_handle = handle;
  }

 private:
  Handle m_handle = nullptr;
};

using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueRegion = UniqueGdiObject<HRGN>;

}  // namespace tesmirol
