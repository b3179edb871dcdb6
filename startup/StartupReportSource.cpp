#include "startup/StartupReportSource.h"

#include "startup/StartupConstants.h"

namespace products::stelmar {

std::vector<int> StartupReportSource::types() const { return _startup.getTypes(); }

std::string StartupReportSource::typeName(int type) const {
  return StartupConstants::typeToString(type);
}

std::vector<std::pair<std::string, std::string>> StartupReportSource::entries(int type) const {
  std::vector<std::pair<std::string, std::string>> result;
  for (const StartupItem& item : _startup.getEntries(type)) {
    result.emplace_back(item.getName(), item.getData());
  }
  return result;
}

}  // namespace products::stelmar
