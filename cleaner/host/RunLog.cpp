#include "cleaner/host/RunLog.h"

#include <cstdio>

namespace runlog {

std::string Timestamp(int year, int month, int day, int hour, int minute, int second) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return text;
}

std::string Report(const std::vector<std::string>& lines, const std::string& timestamp) {
  std::string report;
  for (const std::string& line : lines)
    if (!line.empty()) report += timestamp + " " + line + "\r\n";
  return report;
}

}  // namespace runlog
