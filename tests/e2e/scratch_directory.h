#pragma once
// A directory of a test's own, made fresh and removed with everything in it
// when the test ends.

#include <optional>
#include <string>

namespace tesmirol::e2e {

class ScratchDirectory {
 public:
  // A new, empty directory inside parent (a Windows path ending in a
  // separator), or no result when it cannot be made.
  static std::optional<ScratchDirectory> CreateIn(const std::wstring& parent);
  // A new, empty directory in the system's temporary directory.
  static std::optional<ScratchDirectory> Create();

  // Removes the directory and the files in it.
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  ScratchDirectory(ScratchDirectory&& other) noexcept;
  ScratchDirectory& operator=(ScratchDirectory&&) = delete;

  // The directory's Windows path, ending in a separator.
  [[nodiscard]] const std::wstring& Path() const noexcept { return m_path; }
  // The path of a file in the directory.
  [[nodiscard]] std::wstring File(const std::wstring& name) const { return m_path + name; }

 private:
  explicit ScratchDirectory(std::wstring path) noexcept : m_path(std::move(path)) {}

  std::wstring m_path;
};

}  // namespace tesmirol::e2e
