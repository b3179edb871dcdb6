// What the plug-in knows of the host's run: whether it is quiet, and the file its report
// goes to ("/log:PATH"), read from the host's command line as the host reads it.
#pragma once

#include <string>

namespace orvane {

struct HostRun {
  bool quiet = false;
  std::string logPath;  // empty when the run keeps no report
};

HostRun ReadHostRun();

// Reports a problem as the run allows: a message box when someone is there to see it; in a
// quiet run a line of the run's report, or nothing when it keeps none. A box would stop an
// unattended run at log-on until somebody clicks it.
void ReportProblem(const char* text, const char* caption);

}  // namespace orvane
