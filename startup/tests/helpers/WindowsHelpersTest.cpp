#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/tests/base/AssertionRecorder.h"
#include "startup/windows/file/WindowsFileHelper.h"
#include "startup/windows/info/InfoHelper.h"
#include "startup/windows/internet/InternetHelper.h"
#include "startup/windows/process/ProcessHelper.h"
#include "tests/harness/Harness.h"

namespace {

using windows::file::WindowsFileHelper;
using windows::process::ProcessHelper;

const char* const CHILD = "stelmar_helper_child.exe";

std::string withoutSlash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

template <typename Exception, typename Call>
std::string failureText(Call call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.getMessage();
  }
  return "(no exception)";
}

// The texts end with the system's description, which differs from system to system.
void expectStartsWith(const std::string& prefix, const std::string& text) {
  EXPECT_EQ(prefix, text.substr(0, prefix.size()));
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Each test runs in a fresh folder, which is the current folder.
class WindowsHelpers : public testing::Test {
 protected:
  void SetUp() override {
    ::GetCurrentDirectoryA(sizeof previous_, previous_);
    ASSERT_TRUE(::SetCurrentDirectoryA(temp_.path().c_str()));
  }
  void TearDown() override { ::SetCurrentDirectoryA(previous_); }
  // Waits for a file the child writes and gives its text.
  std::string waitForFile(const std::string& path) {
    EXPECT_TRUE(harness::WaitUntil([&] { return harness::FileExists(path); }, 20000)) << path;
    std::string text;
    harness::WaitUntil([&] { return !(text = harness::ReadTextFile(path)).empty(); }, 5000);
    return text;
  }

  harness::TempFolder temp_;
  char previous_[MAX_PATH] = {};
};

TEST_F(WindowsHelpers, CurrentAndProgramFolders) {
  EXPECT_EQ(temp_.path(), WindowsFileHelper::getCurrentDirectory());
  EXPECT_EQ(harness::BuildFolder(), WindowsFileHelper::getProgramDirectory());
  WindowsFileHelper::setCurrentDirectory("C:\\");
  EXPECT_EQ("C:\\", WindowsFileHelper::getCurrentDirectory());
  const std::string missing = temp_ / "missing";
  expectStartsWith("Could not set the directory, " + missing +
                ", to the current directory. System error message: ",
            failureText<windows::file::CouldNotSetCurrentDirectoryException>(
                [&] { WindowsFileHelper::setCurrentDirectory(missing); }));
}

TEST_F(WindowsHelpers, LongPathNamesEachComponentAsListed) {
  const std::string folder = temp_ / "Long Folder Name";
  const std::string file = folder + "\\a long file name.text";
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(harness::WriteTextFile(file, "x"));
  char shortPath[MAX_PATH] = {};
  ASSERT_NE(0u, ::GetShortPathNameA(file.c_str(), shortPath, sizeof shortPath));
  ASSERT_NE(file, shortPath);
  EXPECT_EQ(file, WindowsFileHelper::toLongPath(shortPath));
  std::string slashed = upper(file);
  for (char& c : slashed) c = c == '\\' ? '/' : c;
  EXPECT_EQ(file, WindowsFileHelper::toLongPath(slashed));
  EXPECT_EQ(folder + "\\", WindowsFileHelper::toLongPath(upper(folder) + "\\"));
}

TEST_F(WindowsHelpers, LongPathFailures) {
  const auto failure = [](const std::string& path) {
    return failureText<windows::file::CouldNotConvertShortPathToLongPathException>(
        [&] { WindowsFileHelper::toLongPath(path); });
  };
  const std::string missing = temp_ / "missing.txt";
  EXPECT_EQ("Error converting the filename, " + missing + ", to a long path. Input path invalid.",
            failure(missing));
  // A drive with no backslash is relative to that drive's current folder: it exists, but
  // cannot be taken apart.
  const std::string relative = temp_.path().substr(0, 2) + withoutSlash(temp_.path()).substr(3);
  WindowsFileHelper::setCurrentDirectory(temp_.path().substr(0, 3));
  EXPECT_EQ("Error converting the filename, " + relative + ", to a long path. Parsing error.",
            failure(relative));
}

TEST_F(WindowsHelpers, AssociatedIcon) {
  char windows[MAX_PATH] = {};
  ASSERT_NE(0u, ::GetWindowsDirectoryA(windows, sizeof windows));
  EXPECT_TRUE(WindowsFileHelper::extractAssociatedIcon(std::string(windows) + "\\notepad.exe"));
  testing_support::AssertionRecorder recorder;
  const std::string tooLong = "C:\\" + std::string(MAX_PATH, 'a') + ".exe";
  expectStartsWith("Error when trying to extract icon from " + tooLong + "\n\nSystem error message: ",
            failureText<windows::file::CouldNotExtractAssosiatedIconExcpetion>(
                [&] { WindowsFileHelper::extractAssociatedIcon(tooLong); }));
  EXPECT_EQ(std::vector<std::string>{"path.size() < MAX_PATH"}, recorder.conditions);
}

TEST_F(WindowsHelpers, VersionFamilyAndNameAgree) {
  const bool nt = windows::info::InfoHelper::getWindowsVersionName().rfind("Windows NT ", 0) == 0;
  EXPECT_EQ(nt, windows::info::InfoHelper::isWindowsNT());
}

TEST_F(WindowsHelpers, TheTestPrefixIs64BitWindows) {
  // The 32-bit build sees 64-bit Windows; a 64-bit program is no 32-bit one on it.
#ifdef _WIN64
  EXPECT_FALSE(windows::info::InfoHelper::isWindows64());
#else
  EXPECT_TRUE(windows::info::InfoHelper::isWindows64());
#endif
}

TEST_F(WindowsHelpers, BrowserRefusalNamesTheAddress) {
  // Hyperlink navigation refuses an empty address.
  expectStartsWith("Error when trying to launch internet browser.\nTried to open:\n\n\nSystem error message: ",
                   failureText<windows::internet::CouldNotLaunchInternetBrowserException>(
                       [] { windows::internet::launchBrowser(""); }));
}

TEST_F(WindowsHelpers, ProcessStartsInItsProgramsFolderOrTheCurrentOne) {
  const std::string report = temp_ / "child.txt";
  ProcessHelper::createProcess("\"" + harness::BuildFolder() + CHILD + "\" " + report, 0, true);
  EXPECT_EQ(withoutSlash(harness::BuildFolder()) + "\n" + std::to_string(SW_HIDE),
            waitForFile(report));
  const std::string bare = temp_ / "bare.txt";
  ProcessHelper::createProcess(std::string(CHILD) + " " + bare, 0, false);
  EXPECT_EQ(withoutSlash(temp_.path()) + "\n-1", waitForFile(bare));
}

TEST_F(WindowsHelpers, ProcessFailureNamesCommandAndFolder) {
  const std::string command = "\"" + temp_.path() + "missing\\nothing.exe\" /x";
  expectStartsWith("Couldn't create the process '" + command + "'\nCurrent working directory: " +
                temp_.path() + "\nSystem error message: ",
            failureText<windows::process::CouldNotCreateProcessException>(
                [&] { ProcessHelper::createProcess(command, 0, false); }));
}

TEST_F(WindowsHelpers, ShellRunsAVerbOnAFile) {
  ProcessHelper::runShellCommand(harness::BuildFolder() + CHILD, "open");
  EXPECT_EQ("ran", waitForFile(temp_ / "child-ran.txt"));
  const std::string missing = temp_ / "missing.exe";
  expectStartsWith("Error when trying to run command (ShellExecute) " + missing +
                "\nSystem error message: ",
            failureText<windows::process::CouldNotShellExecuteException>(
                [&] { ProcessHelper::runShellCommand(missing, "open"); }));
}

}  // namespace
