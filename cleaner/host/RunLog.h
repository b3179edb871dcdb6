// The report of an unattended run: the result lines of the cleaning, each stamped with the
// local date and time of the run, appended to the file named by "/log:PATH".
#pragma once

#include <string>
#include <vector>

namespace runlog {

// "YYYY-MM-DD hh:mm:ss".
std::string Timestamp(int year, int month, int day, int hour, int minute, int second);

// Every non-empty line after the stamp and a blank, each ended with CR LF.
std::string Report(const std::vector<std::string>& lines, const std::string& timestamp);

}  // namespace runlog
