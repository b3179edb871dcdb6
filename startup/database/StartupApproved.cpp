#include "startup/database/StartupApproved.h"

#include "startup/StartupConstants.h"
#include "startup/database/StartupApprovedFlag.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/windows/registry/RegistryKeyImpl.h"
#include "startup/windows/registry/RegistryReaderImpl.h"
#include "startup/windows/registry/RegistryWriterImpl.h"

namespace products::stelmar::database {

using windows::registry::RawValue;
using windows::registry::RegistryKeyImpl;
using windows::registry::RegistryReaderImpl;

namespace {

const char* const APPROVED_RUN =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
const char* const APPROVED_RUN32 =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";
const char* const APPROVED_FOLDER =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

bool saysDisabled(const std::optional<RawValue>& value) {
  return value && value->type == REG_BINARY &&
         decodeApprovedFlag(value->bytes).state == ApprovedState::Disabled;
}

}  // namespace

std::optional<StartupApproved::Location> StartupApproved::locationOf(int type, bool windows64) {
  using C = StartupConstants;
  const REGSAM machine = windows64 ? KEY_WOW64_64KEY : 0;
  switch (type) {
    case C::LM_RUN_ALWAYS:
      return Location{HKEY_LOCAL_MACHINE, APPROVED_RUN, machine};
    case C::LM_RUN_ALWAYS_32:
      if (!windows64) break;
      return Location{HKEY_LOCAL_MACHINE, APPROVED_RUN32, machine};
    case C::CU_RUN_ALWAYS:
      return Location{HKEY_CURRENT_USER, APPROVED_RUN, 0};
    case C::LM_RUN_AUTOSTART:
      return Location{HKEY_LOCAL_MACHINE, APPROVED_FOLDER, machine};
    case C::CU_RUN_AUTOSTART:
      return Location{HKEY_CURRENT_USER, APPROVED_FOLDER, 0};
    default:
      break;
  }
  return std::nullopt;
}

bool StartupApproved::isSwitchedOff(const std::string& name) const {
  return !switchedOff({name}).empty();
}

std::set<std::string> StartupApproved::switchedOff(const std::vector<std::string>& names) const {
  std::set<std::string> off;
  if (names.empty()) return off;
  try {
    RegistryKeyImpl key(_location.hive, _location.keyPath, KEY_READ, RegistryKeyImpl::MODE_OPEN,
                        _location.view);
    RegistryReaderImpl reader(key);
    for (const std::string& name : names) {
      try {
        if (saysDisabled(reader.readRaw(name))) off.insert(name);
      } catch (const exceptions::Exception&) {
        // An unreadable flag leaves its entry as it is.
      }
    }
  } catch (const exceptions::Exception&) {
    // No key: nothing is switched off.
  }
  return off;
}

bool StartupApproved::switchOn(const std::string& name) const {
  // Nothing to switch (no key, no flag, or one that does not say disabled): nothing written,
  // and no write access asked for.
  if (!isSwitchedOff(name)) return false;
  RegistryKeyImpl key(_location.hive, _location.keyPath, KEY_READ | KEY_WRITE,
                      RegistryKeyImpl::MODE_OPEN, _location.view);
  windows::registry::RegistryWriterImpl(key).writeRaw(
      name, RawValue{REG_BINARY, encodeApprovedFlag(true, 0)});
  return true;
}

void StartupApproved::switchOnForNewEntry(const StartupItem& item) const {
  if (item.isSwitchedOffByWindows()) return;
  try {
    switchOn(item.getName());
  } catch (const exceptions::Exception&) {
  }
}

}  // namespace products::stelmar::database
