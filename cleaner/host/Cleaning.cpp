#include "cleaner/host/Cleaning.h"

#include <windows.h>

#include "cleaner/host/ItemList.h"
#include "cleaner/host/RunLog.h"
#include "cleaner/host/Wording.h"
#include "cleaner/textplugin/Progress.h"
#include "common/Unique.h"

CleaningResult RunCleaning(ItemList& list, bool interactive, bool report) {
  CleaningResult result;
  const bool lines = interactive || report;
  RebootFileCount = 0;
  long long totalBytes = 0;
  long long totalCount = 0;
  const char separator = lines ? DecimalSeparator() : '.';
  std::size_t ticked = 0, done = 0;
  for (const ListEntry& entry : list.entries()) ticked += entry.ticked ? 1 : 0;
  // The number of entries is taken afresh at every step.
  for (std::size_t i = 0; i < list.entries().size(); ++i) {
    ListEntry& entry = list.entries()[i];
    if (!entry.ticked) continue;
    progress::Cleaning(done++, ticked, entry.caption, totalCount, totalBytes);
    entry.item->Clean();
    const long long bytes = entry.item->GetSizeCleaned();
    const long long count = entry.item->GetCountCleaned();
    totalBytes += bytes;
    totalCount += count;
    if (!lines) continue;
    result.lines.push_back(entry.caption + ": cleaned " + wording::FormatByteSize(bytes, separator) +
                           " in " + std::to_string(count) + wording::ItemWord(count) + ".");
  }
  if (lines) {
    result.lines.push_back("");
    result.lines.push_back("Scheduled " + std::to_string(RebootFileCount) +
                           " file(s) for removal on reboot.");
    result.lines.push_back("");
    result.lines.push_back("Cleaned total of " + wording::FormatByteSize(totalBytes, separator) +
                           " in " + std::to_string(totalCount) + wording::ItemWord(totalCount) + ".");
  }
  return result;
}

bool AppendRunReport(const std::string& path, const std::vector<std::string>& lines) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string report = runlog::Report(
      lines, runlog::Timestamp(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
  // FILE_APPEND_DATA without FILE_WRITE_DATA: every write lands at the end, also when
  // another run appends to the same file at the same time.
  win::UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), report.data(), static_cast<DWORD>(report.size()), &written, nullptr) &&
         written == report.size();
}
