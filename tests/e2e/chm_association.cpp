#include "e2e/chm_association.h"

#include <windows.h>

#include <string>
#include <utility>

namespace tesmirol::e2e {
namespace {

constexpr const wchar_t* kExtensionKey = L".chm";
// File types of the tests' own: one with an open command, one without.
constexpr const wchar_t* kRecorderType = L"TesmirolTest.Recorder";
constexpr const wchar_t* kNoProgramType = L"TesmirolTest.NoProgram";

// The default value of a key under HKEY_CLASSES_ROOT, or no result.
std::optional<std::wstring> DefaultValue(const wchar_t* key) {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(size / sizeof(wchar_t) > 0 ? size / sizeof(wchar_t) - 1 : 0);
  return value;
}

// Sets the default value of a key under HKEY_CLASSES_ROOT, creating the key.
bool SetDefaultValue(const std::wstring& key, const std::wstring& value) {
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(), bytes) == ERROR_SUCCESS;
}

}  // namespace

ChmAssociation ChmAssociation::OpenWith(const std::wstring& program) {
  const bool commandSet =
      SetDefaultValue(std::wstring(kRecorderType) + L"\\shell\\open\\command", L"\"" + program + L"\" \"%1\"");
  ChmAssociation association(kRecorderType);
  association.m_set = association.m_set && commandSet;
  return association;
}

ChmAssociation ChmAssociation::Nothing() {
  // The type exists only by name: it has no shell\open command to run.
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kNoProgramType);
  return ChmAssociation(kNoProgramType);
}

ChmAssociation::ChmAssociation(const std::wstring& fileType)
    : m_previousType(DefaultValue(kExtensionKey)), m_set(SetDefaultValue(kExtensionKey, fileType)) {}

ChmAssociation::ChmAssociation(ChmAssociation&& other) noexcept
    : m_previousType(std::move(other.m_previousType)),
      m_set(other.m_set),
      m_owner(std::exchange(other.m_owner, false)) {}

ChmAssociation::~ChmAssociation() {
  if (!m_owner) {
    return;
  }
  if (m_previousType) {
    SetDefaultValue(kExtensionKey, *m_previousType);
  } else {
    RegDeleteKeyValueW(HKEY_CLASSES_ROOT, kExtensionKey, nullptr);
  }
}

}  // namespace tesmirol::e2e
