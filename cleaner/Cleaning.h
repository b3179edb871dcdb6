// The cleaning run: every ticked item is cleaned once, in list order.
#pragma once

#include <string>
#include <vector>

class ItemList;

// Files scheduled for removal at the next restart during this run.
extern long long RebootFileCount;
// Whether files that cannot be deleted may be scheduled for removal at restart. Read from
// the settings file; false in quiet mode.
extern bool RemoveOnReboot;

struct CleaningResult {
  std::vector<std::string> lines;  // interactive mode, or a quiet run that reports
};

// Calls Clean on every ticked entry, from the first to the last. In interactive mode, and
// in a quiet run asked for its report, the result gets one line per cleaned entry and the
// four closing lines.
CleaningResult RunCleaning(ItemList& list, bool interactive, bool report = false);

// Appends the result lines, stamped with the local date and time, to `path` (created if
// missing). False when the file cannot be written; nothing else depends on it.
bool AppendRunReport(const std::string& path, const std::vector<std::string>& lines);
