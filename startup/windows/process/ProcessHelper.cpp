#include "startup/windows/process/ProcessHelper.h"

#include <shellapi.h>

#include <vector>

#include "common/Unique.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/util/parser/ArgumentParserHelpers.h"
#include "startup/windows/file/WindowsFileHelper.h"

namespace windows::process {

namespace {

const char* const SHELL_EXECUTE_FAILED = "Error when trying to run command (ShellExecute) ";
const char* const CREATE_FAILED = "Couldn't create the process '";
const char* const CREATE_FAILED_DIRECTORY = "'\nCurrent working directory: ";
const char* const NO_CURRENT_DIRECTORY =
    "Could not get current working directory. Error message: ";
// The command line is copied into a writable buffer this much longer than itself.
const std::size_t COMMAND_LINE_SLACK = 10;

std::string systemText(DWORD code) { return SystemErrors::map(static_cast<int>(code)); }

}  // namespace

void ProcessHelper::runShellCommand(const std::string& file, const std::string& verb) {
  ::SetLastError(ERROR_SUCCESS);
  const INT_PTR result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(nullptr, verb.empty() ? nullptr : verb.c_str(), file.c_str(), nullptr,
                      nullptr, SW_SHOWNORMAL));
  if (result > 32) return;
  // The shell's own result codes below 32 are mostly system error codes as well; the
  // thread's error is the more precise one when it is set.
  const DWORD lastError = ::GetLastError();
  const DWORD code = lastError != ERROR_SUCCESS ? lastError : static_cast<DWORD>(result);
  throw CouldNotShellExecuteException(SHELL_EXECUTE_FAILED + file + "\n" + systemText(code));
}

void ProcessHelper::createProcess(const std::string& commandLine, DWORD creationFlags,
                                  bool hidden) {
  using util::parser::ArgumentParserHelpers;
  // CreateProcessA may write into the command line it is given.
  std::vector<char> buffer(commandLine.size() + COMMAND_LINE_SLACK, '\0');
  commandLine.copy(buffer.data(), commandLine.size());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  const std::string directory =
      ArgumentParserHelpers::getDirectory(ArgumentParserHelpers::getProgramPath(commandLine));
  PROCESS_INFORMATION process{};
  if (::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, creationFlags, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
    win::UniqueHandle processHandle(process.hProcess);
    win::UniqueHandle threadHandle(process.hThread);
    return;
  }
  const DWORD code = ::GetLastError();
  std::string current;
  try {
    current = file::WindowsFileHelper::getCurrentDirectory();
  } catch (const exceptions::Exception& e) {
    current = NO_CURRENT_DIRECTORY + e.getMessage();
  }
  throw CouldNotCreateProcessException(CREATE_FAILED + commandLine + CREATE_FAILED_DIRECTORY +
                                       current + "\n" + systemText(code));
}

}  // namespace windows::process
