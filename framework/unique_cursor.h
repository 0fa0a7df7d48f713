#pragma once
// An owned cursor handle, destroyed with its owner.

#include <windows.h>

#include <utility>

namespace tesmirol {

// Owns a cursor made for the program (not a shared system cursor, which must
// never be destroyed) and destroys it with DestroyCursor.
class UniqueCursor {
 public:
  UniqueCursor() noexcept = default;
  explicit UniqueCursor(HCURSOR cursor) noexcept : m_cursor(cursor) {}
  UniqueCursor(const UniqueCursor&) = delete;
  UniqueCursor& operator=(const UniqueCursor&) = delete;
  UniqueCursor(UniqueCursor&& other) noexcept : m_cursor(std::exchange(other.m_cursor, nullptr)) {}
  UniqueCursor& operator=(UniqueCursor&& other) noexcept {
    if (this != &other) {
      Reset(std::exchange(other.m_cursor, nullptr));
    }
    return *this;
  }
  ~UniqueCursor() { Reset(nullptr); }

  // The cursor, or null when none is set.
  [[nodiscard]] HCURSOR Get() const noexcept { return m_cursor; }

  // Destroys the owned cursor and takes cursor instead.
  void Reset(HCURSOR cursor) noexcept {
    if (m_cursor != nullptr) {
      DestroyCursor(m_cursor);
    }
    m_cursor = cursor;
  }

 private:
  HCURSOR m_cursor = nullptr;
};

}  // namespace tesmirol
