// The cleaning run: every ticked item is cleaned once, in list order.
#pragma once

#include <string>
#include <vector>

// RebootFileCount, which the run resets and reports, and RemoveOnReboot.
#include "cleaner/textplugin/Diskscan.h"

class ItemList;

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
