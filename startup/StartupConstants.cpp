#include "startup/StartupConstants.h"

#include "startup/platform/errorresources/Assertion.h"

namespace products::stelmar {

namespace {
const char* const TYPE_NAMES[StartupConstants::MAX_TYPES] = {
    "LM_RUN_ALWAYS",         "LM_RUN_ONCE",      "LM_RUN_ONCE_EX",       "LM_RUN_SERVICE",
    "LM_RUN_SERVICE_ONCE",   "CU_RUN_ALWAYS",    "CU_RUN_ONCE",          "LM_RUN_AUTOSTART",
    "LM_RUN_AUTOSTART_USER", "CU_RUN_AUTOSTART", "CU_RUN_AUTOSTART_USER",
    "LM_RUN_ALWAYS_32",      "LM_RUN_ONCE_32"};
const char* const UNKNOWN_TYPE_NAME = "N/A";
}  // namespace

std::string StartupConstants::typeToString(int type) {
  if (!isValidType(type)) {
    STELMAR_ASSERT(false);
    return UNKNOWN_TYPE_NAME;
  }
  return TYPE_NAMES[type];
}

}  // namespace products::stelmar
