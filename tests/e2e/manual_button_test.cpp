// End-to-end tests of the manual button: the real program under Wine, copied
// into a directory of the test's own so that it writes its manual there. A
// recorder registered for .chm documents stands in for the help viewer and
// notes every document it is asked to open.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/chm_association.h"
#include "e2e/dialog_session.h"
#include "e2e/main_dialog.h"
#include "e2e/message_param.h"
#include "e2e/program_path.h"
#include "e2e/program_under_test.h"
#include "e2e/scratch_directory.h"
#include "e2e/utf8_text.h"

namespace tesmirol::e2e {
namespace {

constexpr const wchar_t* kManualName = L"QuelvanHelp.chm";
constexpr const wchar_t* kProgramName = L"Tesmirol.EXE";
constexpr const wchar_t* kOpenLogName = L"opened.log";
// How long the test waits for something that happens in another process: the
// recorder starting, a box appearing. Only an upper bound; no test depends on it.
constexpr auto kEventTimeout = std::chrono::seconds(30);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

using Bytes = std::vector<char>;

// The whole content of a file, or no result when it cannot be read.
std::optional<Bytes> ReadBytes(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::wstring& path, const Bytes& bytes) {
  std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The lines of a text file; none when it does not exist.
std::vector<std::string> Lines(const std::wstring& path) {
  std::vector<std::string> lines;
  std::ifstream file(path.c_str());
  for (std::string line; std::getline(file, line);) {
    lines.push_back(line);
  }
  return lines;
}

// The compiled manual from the build: what the resource must hold.
std::optional<Bytes> CompiledManual() {
  const std::string path = TESMIROL_MANUAL_CHM;
  return ReadBytes(WindowsPath(std::wstring(path.begin(), path.end())));
}

// A last-write time that no write made during the test can leave behind.
constexpr FILETIME kLongAgo{0x2A69C000, 0x01C0B1D6};  // 2001-01-01

std::optional<FILETIME> LastWriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) == FALSE) {
    return std::nullopt;
  }
  return data.ftLastWriteTime;
}

bool SetLastWriteTime(const std::wstring& path, const FILETIME& time) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const bool set = SetFileTime(file, nullptr, nullptr, &time) != FALSE;
  CloseHandle(file);
  return set;
}

struct WindowSearch {
  DWORD processId;
  HWND except;
  HWND found;
};

// Takes a visible top-level dialog-class window of the process other than
// the main dialog: a message box.
BOOL CALLBACK FindOtherDialog(HWND window, LPARAM searchAddress) {
  auto* search = PointerFromParam<WindowSearch>(searchAddress);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  std::wstring className(16, L'\0');
  className.resize(static_cast<std::size_t>(GetClassNameW(window, className.data(), 16)));
  if (processId == search->processId && window != search->except && IsWindowVisible(window) != FALSE &&
      className == L"#32770") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The texts of a message box's static controls, joined: its message.
BOOL CALLBACK CollectStaticText(HWND child, LPARAM textAddress) {
  std::wstring className(16, L'\0');
  className.resize(static_cast<std::size_t>(GetClassNameW(child, className.data(), 16)));
  if (className == L"Static") {
    *PointerFromParam<std::wstring>(textAddress) += WindowText(child);
  }
  return TRUE;
}

class ManualButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::optional<ScratchDirectory> directory = ScratchDirectory::Create();
    ASSERT_TRUE(directory.has_value());
    m_log.emplace(std::move(*directory));
    // The recorder inherits the variable through the program and the shell.
    ASSERT_NE(SetEnvironmentVariableW(L"TESMIROL_OPEN_LOG", LogPath().c_str()), FALSE);
    const std::string recorder = TESMIROL_OPEN_RECORDER;
    m_recorder = WindowsPath(std::wstring(recorder.begin(), recorder.end()));
  }

  // A fresh folder for the program, in the system's temporary directory or
  // inside parent; it is removed after the program has ended.
  void MakeProgramFolder(const std::optional<std::wstring>& parent = std::nullopt) {
    std::optional<ScratchDirectory> folder = parent ? ScratchDirectory::CreateIn(*parent) : ScratchDirectory::Create();
    ASSERT_TRUE(folder.has_value());
    m_programFolder.emplace(std::move(*folder));
  }

  [[nodiscard]] const ScratchDirectory& ProgramFolder() const { return *m_programFolder; }

  // Copies the program into its folder.
  void CopyProgram() {
    ASSERT_NE(CopyFileW(TheProgramUnderTest().program.c_str(), ProgramFolder().File(kProgramName).c_str(), TRUE),
              FALSE);
  }

  // Starts the program that lies in directory and waits for its dialog.
  void StartIn(const std::wstring& directory) {
    m_programDirectory = directory;
    std::wstring failure;
    m_session = DialogSession::Start(directory + kProgramName, TheProgramUnderTest().desktop, failure);
    ASSERT_TRUE(m_session.has_value()) << Utf8(failure);
    m_dialog.emplace(*m_session);
  }

  // The program in a fresh folder of its own, started.
  void StartFresh() {
    ASSERT_NO_FATAL_FAILURE(MakeProgramFolder());
    ASSERT_NO_FATAL_FAILURE(CopyProgram());
    StartIn(ProgramFolder().Path());
  }

  void RegisterRecorder() {
    m_association.emplace(ChmAssociation::OpenWith(m_recorder));
    ASSERT_TRUE(m_association->IsSet());
  }

  void RegisterNothing() {
    m_association.emplace(ChmAssociation::Nothing());
    ASSERT_TRUE(m_association->IsSet());
  }

  // A click on the manual button, and everything it posted, handled.
  [[nodiscard]] bool ClickManual() { return Dialog().ClickButton(control::kManualButton) && Dialog().Settle(); }

  // Waits until the recorder has been started count times in all; returns
  // the documents it was asked to open.
  [[nodiscard]] std::vector<std::string> WaitForOpenings(std::size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + kEventTimeout;
    std::vector<std::string> opened = Lines(LogPath());
    while (opened.size() < count && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(kPollInterval);
      opened = Lines(LogPath());
    }
    return opened;
  }

  // Waits for a message box of the program; null when none appears.
  [[nodiscard]] HWND WaitForMessageBox() const {
    DWORD processId = 0;
    GetWindowThreadProcessId(m_session->Dialog(), &processId);
    const auto deadline = std::chrono::steady_clock::now() + kEventTimeout;
    WindowSearch search{processId, m_session->Dialog(), nullptr};
    while (std::chrono::steady_clock::now() < deadline) {
      EnumWindows(FindOtherDialog, PointerParam(&search));
      if (search.found != nullptr) {
        return search.found;
      }
      std::this_thread::sleep_for(kPollInterval);
    }
    return nullptr;
  }

  // Whether a message box of the program is showing now.
  [[nodiscard]] bool ShowsMessageBox() const {
    DWORD processId = 0;
    GetWindowThreadProcessId(m_session->Dialog(), &processId);
    WindowSearch search{processId, m_session->Dialog(), nullptr};
    EnumWindows(FindOtherDialog, PointerParam(&search));
    return search.found != nullptr;
  }

  // The dialog still takes input and recomputes: 19200 with 11.0592MHz needs
  // SMOD = 1 with 0xFD.
  void ExpectDialogStillWorks() {
    ASSERT_TRUE(m_session->IsRunning());
    ASSERT_TRUE(Dialog().TypeInto(control::kBaudBox, L"19200"));
    EXPECT_EQ(Utf8(Dialog().Text(control::kReloadSmod1)), "TH = 0xFD");
    EXPECT_FALSE(ShowsMessageBox());
  }

  MainDialog& Dialog() { return *m_dialog; }
  [[nodiscard]] const DialogSession& Session() const { return *m_session; }
  [[nodiscard]] std::wstring ManualPath() const { return m_programDirectory + kManualName; }
  [[nodiscard]] std::wstring LogPath() const { return m_log->File(kOpenLogName); }

 private:
  // Declared first, removed last: the program runs from these directories.
  std::optional<ScratchDirectory> m_log;
  std::optional<ScratchDirectory> m_programFolder;
  std::optional<ChmAssociation> m_association;
  std::wstring m_recorder;
  std::wstring m_programDirectory;
  std::optional<DialogSession> m_session;
  std::optional<MainDialog> m_dialog;
};

TEST_F(ManualButtonTest, FirstClickWritesTheManualBesideTheProgramAndOpensIt) {
  ASSERT_NO_FATAL_FAILURE(RegisterRecorder());
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  ASSERT_FALSE(Exists(ManualPath()));

  ASSERT_TRUE(ClickManual());

  EXPECT_EQ(WaitForOpenings(1), std::vector<std::string>{Utf8(ManualPath())});
  const std::optional<Bytes> compiled = CompiledManual();
  ASSERT_TRUE(compiled.has_value()) << "the compiled manual " TESMIROL_MANUAL_CHM " cannot be read";
  EXPECT_EQ(ReadBytes(ManualPath()), compiled);
}

TEST_F(ManualButtonTest, LaterClicksOpenTheManualWithoutWritingItAgain) {
  ASSERT_NO_FATAL_FAILURE(RegisterRecorder());
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  ASSERT_TRUE(ClickManual());
  ASSERT_EQ(WaitForOpenings(1).size(), 1U);
  // Any write would move the time on from here.
  ASSERT_TRUE(SetLastWriteTime(ManualPath(), kLongAgo));

  ASSERT_TRUE(ClickManual());
  ASSERT_TRUE(ClickManual());

  EXPECT_EQ(WaitForOpenings(3).size(), 3U);
  const std::optional<FILETIME> written = LastWriteTime(ManualPath());
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(CompareFileTime(&*written, &kLongAgo), 0) << "the manual was written again";
}

TEST_F(ManualButtonTest, AnExistingFileIsOpenedAsItIsAndNotReplaced) {
  ASSERT_NO_FATAL_FAILURE(RegisterRecorder());
  ASSERT_NO_FATAL_FAILURE(MakeProgramFolder());
  ASSERT_NO_FATAL_FAILURE(CopyProgram());
  const Bytes damaged{'n', 'o', 't', ' ', 'a', ' ', 'm', 'a', 'n', 'u', 'a', 'l'};
  ASSERT_TRUE(WriteBytes(ProgramFolder().File(kManualName), damaged));
  ASSERT_NO_FATAL_FAILURE(StartIn(ProgramFolder().Path()));

  ASSERT_TRUE(ClickManual());

  EXPECT_EQ(WaitForOpenings(1), std::vector<std::string>{Utf8(ManualPath())});
  EXPECT_EQ(ReadBytes(ManualPath()), damaged);
}

TEST_F(ManualButtonTest, WithNoProgramForTheManualEachClickWritesOnceAndStops) {
  ASSERT_NO_FATAL_FAILURE(RegisterNothing());
  ASSERT_NO_FATAL_FAILURE(StartFresh());

  ASSERT_TRUE(ClickManual());
  ASSERT_TRUE(Exists(ManualPath())) << "the first click writes the manual";
  EXPECT_EQ(ReadBytes(ManualPath()), CompiledManual());

  // Were a retry still going round, it would write the file again before
  // the dialog had handled what is posted after it.
  ASSERT_NE(DeleteFileW(ManualPath().c_str()), FALSE);
  ASSERT_TRUE(Dialog().Settle());
  ASSERT_TRUE(Dialog().Settle());
  EXPECT_FALSE(Exists(ManualPath())) << "the program keeps writing the manual";

  // The next click starts over: it writes the file once more.
  ASSERT_TRUE(ClickManual());
  EXPECT_TRUE(Exists(ManualPath()));
  ASSERT_NE(DeleteFileW(ManualPath().c_str()), FALSE);
  ASSERT_TRUE(Dialog().Settle());
  EXPECT_FALSE(Exists(ManualPath()));

  ExpectDialogStillWorks();
}

TEST_F(ManualButtonTest, WhereNoFileCanBeCreatedNothingHappens) {
  const std::optional<std::wstring> volume = EnvironmentValue(L"TESMIROL_READONLY_VOLUME");
  if (!volume) {
    GTEST_SKIP() << "no read-only volume: tests/e2e/with-scratch-volumes.sh could not mount one here";
  }
  ASSERT_NO_FATAL_FAILURE(RegisterRecorder());
  ASSERT_NO_FATAL_FAILURE(StartIn(WindowsPath(*volume) + L"\\"));

  ASSERT_TRUE(ClickManual());

  EXPECT_FALSE(Exists(ManualPath()));
  EXPECT_TRUE(Lines(LogPath()).empty());
  ExpectDialogStillWorks();
}

TEST_F(ManualButtonTest, AFullDiskShowsTheFileErrorAndLeavesNoPartialManual) {
  const std::optional<std::wstring> volume = EnvironmentValue(L"TESMIROL_FULL_VOLUME");
  if (!volume) {
    GTEST_SKIP() << "no small volume: tests/e2e/with-scratch-volumes.sh could not mount one here";
  }
  const std::optional<Bytes> compiled = CompiledManual();
  ASSERT_TRUE(compiled.has_value());
  ASSERT_NO_FATAL_FAILURE(MakeProgramFolder(WindowsPath(*volume) + L"\\"));
  ASSERT_NO_FATAL_FAILURE(CopyProgram());
  // Fill the volume until only half the manual fits.
  const std::wstring folder = ProgramFolder().Path();
  ULARGE_INTEGER free{};
  ASSERT_NE(GetDiskFreeSpaceExW(folder.c_str(), &free, nullptr, nullptr), FALSE);
  const std::size_t room = compiled->size() / 2;
  ASSERT_GT(free.QuadPart, room);
  ASSERT_TRUE(WriteBytes(ProgramFolder().File(L"filler"), Bytes(static_cast<std::size_t>(free.QuadPart - room), '\0')));
  ASSERT_NE(GetDiskFreeSpaceExW(folder.c_str(), &free, nullptr, nullptr), FALSE);
  ASSERT_LT(free.QuadPart, compiled->size()) << "the volume still holds the whole manual";
  ASSERT_NO_FATAL_FAILURE(RegisterRecorder());
  ASSERT_NO_FATAL_FAILURE(StartIn(folder));

  // The box is modal: the click is posted, not sent, so that the test can
  // answer the box.
  ASSERT_NE(PostMessageW(Dialog().Control(control::kManualButton), BM_CLICK, 0, 0), FALSE);
  HWND box = WaitForMessageBox();
  ASSERT_NE(box, nullptr) << "no message box";
  std::wstring message;
  EnumChildWindows(box, CollectStaticText, PointerParam(&message));
  EXPECT_EQ(Utf8(WindowText(box)), "Tesmirol");
  EXPECT_EQ(Utf8(message), Utf8(L"在存取 " + ManualPath() + L" 时磁盘已满。"));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(Dialog().Settle());

  EXPECT_FALSE(Exists(ManualPath())) << "a partial manual was left behind";
  EXPECT_TRUE(Lines(LogPath()).empty());
  ExpectDialogStillWorks();
}

}  // namespace
}  // namespace tesmirol::e2e
