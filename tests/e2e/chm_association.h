#pragma once
// Which program the system opens .chm documents with, changed for the length
// of a test and put back afterwards. The tests register a recorder that only
// notes what it was asked to open, or no program at all, so that opening the
// manual never starts a real help viewer.

#include <windows.h>

#include <optional>
#include <string>

namespace tesmirol::e2e {

class ChmAssociation {
 public:
  // .chm documents open with the given program, which gets the document's
  // path as its one argument.
  static ChmAssociation OpenWith(const std::wstring& program);
  // No program is associated with .chm documents.
  static ChmAssociation Nothing();

  // Puts the association back as it was.
  ~ChmAssociation();
  ChmAssociation(const ChmAssociation&) = delete;
  ChmAssociation& operator=(const ChmAssociation&) = delete;
  ChmAssociation(ChmAssociation&& other) noexcept;
  ChmAssociation& operator=(ChmAssociation&&) = delete;

  // False when the registry could not be changed.
  [[nodiscard]] bool IsSet() const noexcept { return m_set; }

 private:
  explicit ChmAssociation(const std::wstring& fileType);

  std::optional<std::wstring> m_previousType;
  bool m_set = false;
  bool m_owner = true;
};

}  // namespace tesmirol::e2e
