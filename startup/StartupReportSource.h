// What the system report lists, taken from the startup interface: its registered types and
// the entries of each.
#pragma once

#include "startup/StartupInterface.h"
#include "startup/platform/errorresources/SystemReport.h"

namespace products::stelmar {

class StartupReportSource : public errorresources::SystemReportSource {
 public:
  // `startup` is not owned and outlives the source.
  explicit StartupReportSource(StartupInterface& startup) : _startup(startup) {}
  std::vector<int> types() const override;
  std::string typeName(int type) const override;
  // The store's failure passes to the report, which shows its text for the type.
  std::vector<std::pair<std::string, std::string>> entries(int type) const override;

 private:
  StartupInterface& _startup;
};

}  // namespace products::stelmar
