#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/atomic_file_writer.h"
#include "cli/utf8_text.h"

namespace tesmirol::cli {
namespace {

// The reason for the last failed system call, in words: the common ones in
// the language, the others as the system words them.
std::string LastError(Language language) {
  switch (errno) {
    case ENOENT:
      return Utf8Text(language, TextKey::FileReasonNotFound);
    case EACCES:
    case EPERM:
      return Utf8Text(language, TextKey::FileReasonNoPermission);
    case ENOSPC:
      return Utf8Text(language, TextKey::FileReasonDiskFull);
    case EROFS:
      return Utf8Text(language, TextKey::FileReasonReadOnly);
    case ENOTDIR:
      return Utf8Text(language, TextKey::FileReasonNotAFolder);
    case EISDIR:
      return Utf8Text(language, TextKey::FileReasonIsAFolder);
    default:
      return std::generic_category().message(errno);
  }
}

// The permissions the new file gets: those of the file it replaces, or what a
// newly created file would get under the process's umask.
mode_t PermissionsFor(const std::string& path) {
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0) {
    return existing.st_mode & 07777U;
  }
  const mode_t mask = umask(0);
  umask(mask);
  return 0666U & ~mask;
}

// A temporary file beside the target; removed again unless it was renamed
// into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) {
    const std::filesystem::path targetPath(target);
    std::filesystem::path folder = targetPath.parent_path();
    if (folder.empty()) {
      folder = ".";
    }
    std::string hiddenName(1, '.');
    hiddenName += targetPath.filename().string();
    hiddenName += ".XXXXXX";
    const std::string pattern = (folder / hiddenName).string();
    m_name.assign(pattern.begin(), pattern.end());
    m_name.push_back('\0');
    m_descriptor = mkstemp(m_name.data());
    m_created = m_descriptor >= 0;
  }
  ~TemporaryFile() {
    Close();
    if (m_created && !m_renamed) {
      unlink(m_name.data());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  TemporaryFile(TemporaryFile&&) = delete;
  TemporaryFile& operator=(TemporaryFile&&) = delete;

  [[nodiscard]] bool IsOpen() const noexcept { return m_descriptor >= 0; }
  [[nodiscard]] int Descriptor() const noexcept { return m_descriptor; }
  [[nodiscard]] const char* Name() const noexcept { return m_name.data(); }
  void MarkRenamed() noexcept { m_renamed = true; }

  // Closes the descriptor; false when the close reports a failed write.
  bool Close() noexcept {
    if (m_descriptor < 0) {
      return true;
    }
    const int descriptor = m_descriptor;
    m_descriptor = -1;
    return close(descriptor) == 0;
  }

 private:
  std::vector<char> m_name;
  int m_descriptor = -1;
  bool m_created = false;
  bool m_renamed = false;
};

// Writes all the bytes, going on after a partial write or an interrupt.
bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes, Language language) {
  const mode_t permissions = PermissionsFor(path);
  TemporaryFile temporary(path);
  if (!temporary.IsOpen()) {
    return Utf8Text(language, TextKey::FileCannotCreateTemporary, {{"path", path}, {"reason", LastError(language)}});
  }
  if (!WriteAll(temporary.Descriptor(), bytes) || fchmod(temporary.Descriptor(), permissions) != 0 ||
      fsync(temporary.Descriptor()) != 0 || !temporary.Close()) {
    return Utf8Text(language, TextKey::FileCannotWrite, {{"path", path}, {"reason", LastError(language)}});
  }
  if (std::rename(temporary.Name(), path.c_str()) != 0) {
    return Utf8Text(language, TextKey::FileCannotReplace, {{"path", path}, {"reason", LastError(language)}});
  }
  temporary.MarkRenamed();
  return std::nullopt;
}

std::optional<std::string> CreateFolders(const std::string& path, Language language) {
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    const std::string prefix = path.substr(0, slash);
    start = slash + 1;
    struct stat existing {};
    if (prefix.empty() || (stat(prefix.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))) {
      continue;
    }
    if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
      return Utf8Text(language, TextKey::FileCannotCreateFolder, {{"path", path}, {"reason", LastError(language)}});
    }
    if (stat(prefix.c_str(), &existing) != 0 || !S_ISDIR(existing.st_mode)) {
      errno = ENOTDIR;
      return Utf8Text(language, TextKey::FileCannotCreateFolder, {{"path", path}, {"reason", LastError(language)}});
    }
  }
  return std::nullopt;
}

}  // namespace tesmirol::cli
