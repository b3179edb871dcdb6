#include "plugins/standard/HostRun.h"

#include <windows.h>

#include <vector>

#include "cleaner/host/CommandLine.h"
#include "cleaner/host/RunLog.h"
#include "common/Unique.h"

namespace orvane {

HostRun ReadHostRun() {
  HostRun run;
  const char* line = GetCommandLineA();
  const std::vector<std::string> arguments = commandline::Split(line ? line : "");
  if (arguments.size() < 2) return run;
  run.quiet = commandline::ParseFirstArgument(arguments[1]).quiet;
  if (run.quiet && arguments.size() > 2) run.logPath = commandline::ParseLogArgument(arguments[2]);
  return run;
}

void ReportProblem(const char* text, const char* caption) {
  const HostRun run = ReadHostRun();
  if (!run.quiet) {
    MessageBoxA(nullptr, text, caption, MB_OK);
    return;
  }
  if (run.logPath.empty()) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string report = runlog::Report(
      {std::string(caption) + ": " + text},
      runlog::Timestamp(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
  // Appended as the host appends its own lines: every write lands at the end.
  win::UniqueFile file(CreateFileA(run.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.get(), report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
}

}  // namespace orvane
