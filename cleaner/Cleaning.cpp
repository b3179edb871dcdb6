#include "cleaner/Cleaning.h"

#include "cleaner/ItemList.h"
#include "cleaner/Wording.h"

long long RebootFileCount = 0;
bool RemoveOnReboot = false;

CleaningResult RunCleaning(ItemList& list, bool interactive) {
  CleaningResult result;
  RebootFileCount = 0;
  long long totalBytes = 0;
  long long totalCount = 0;
  const char separator = interactive ? DecimalSeparator() : '.';
  // The number of entries is taken afresh at every step.
  for (std::size_t i = 0; i < list.entries().size(); ++i) {
    ListEntry& entry = list.entries()[i];
    if (!entry.ticked) continue;
    entry.item->Clean();
    if (!interactive) continue;
    const long long bytes = entry.item->GetSizeCleaned();
    const long long count = entry.item->GetCountCleaned();
    totalBytes += bytes;
    totalCount += count;
    result.lines.push_back(entry.caption + ": cleaned " + wording::FormatByteSize(bytes, separator) +
                           " in " + std::to_string(count) + wording::ItemWord(count) + ".");
  }
  if (interactive) {
    result.lines.push_back("");
    result.lines.push_back("Scheduled " + std::to_string(RebootFileCount) +
                           " file(s) for removal on reboot.");
    result.lines.push_back("");
    result.lines.push_back("Cleaned total of " + wording::FormatByteSize(totalBytes, separator) +
                           " in " + std::to_string(totalCount) + wording::ItemWord(totalCount) + ".");
  }
  return result;
}
