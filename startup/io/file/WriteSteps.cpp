#include "startup/io/file/WriteSteps.h"

namespace io::file {

namespace {
WriteStepHook currentHook = nullptr;
}

WriteStepHook setWriteStepHook(WriteStepHook hook) {
  const WriteStepHook previous = currentHook;
  currentHook = hook;
  return previous;
}

void writeStep(const char* change) {
  if (currentHook) currentHook(change);
}

}  // namespace io::file
