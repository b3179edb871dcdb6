#include "startup/database/RegistryDatabase.h"

#include <exception>
#include <optional>

#include "startup/StartupConstants.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/windows/registry/RegistryKeyImpl.h"
#include "startup/windows/registry/RegistryReaderImpl.h"
#include "startup/windows/registry/RegistryWriterImpl.h"

namespace products::stelmar::database {

using windows::registry::RawValue;
using windows::registry::RegistryKeyImpl;
using windows::registry::RegistryReaderImpl;
using windows::registry::RegistryWriterImpl;

namespace {

const char* const RUN_KEYS[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
};

const char* const ZERO_BYTE =
    "The entry cannot be disabled: its value holds a zero byte, which the store of disabled "
    "entries cannot keep. The value stays as it is. Entry: ";
const char* const NOT_WRITTEN_BACK =
    "\n\nThe value could not be written back to the registry either. The entry stays in the "
    "list of disabled entries and is kept in the file with the next save that succeeds.\n\n";

const char* const UNKNOWN_FAILURE = "An ... exception was caught.";

std::string textOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const exceptions::Exception& e) {
    return e.getMessage();
  } catch (...) {
    return UNKNOWN_FAILURE;
  }
}

// The value as it is, to put it back exactly; nothing when it does not exist. A value
// that cannot be read is put back as text from the entry.
struct PreviousValue {
  bool known = false;
  std::optional<RawValue> value;
};

PreviousValue readPrevious(HKEY hive, const std::string& keyPath, const std::string& name) {
  PreviousValue previous;
  try {
    RegistryKeyImpl key(hive, keyPath, KEY_READ, RegistryKeyImpl::MODE_OPEN);
    previous.value = RegistryReaderImpl(key).readRaw(name);
    previous.known = true;
  } catch (const exceptions::Exception&) {
  }
  return previous;
}

}  // namespace

RegistryDatabase::RegistryDatabase(int type, RegistryBackup& backup)
    : _type(type), _backup(backup) {}

std::pair<HKEY, std::string> RegistryDatabase::getLocation(int type) {
  if (type >= StartupConstants::LM_RUN_ALWAYS && type <= StartupConstants::LM_RUN_SERVICE_ONCE) {
    return {HKEY_LOCAL_MACHINE, RUN_KEYS[type]};
  }
  if (type == StartupConstants::CU_RUN_ALWAYS || type == StartupConstants::CU_RUN_ONCE) {
    return {HKEY_CURRENT_USER, RUN_KEYS[type]};
  }
  if (type >= StartupConstants::MAX_TYPES) {
    STELMAR_ASSERT(type < StartupConstants::MAX_TYPES);
  } else {
    STELMAR_ASSERT(false);
  }
  return {HKEY_CURRENT_USER, std::string()};
}

std::vector<StartupItem> RegistryDatabase::getEntries() {
  const auto [hive, keyPath] = getLocation(_type);
  RegistryKeyImpl key(hive, keyPath, READ_ACCESS, RegistryKeyImpl::MODE_OPEN);
  std::vector<StartupItem> entries;
  for (const auto& [name, text] : RegistryReaderImpl(key).getValues()) {
    entries.emplace_back(_type, StartupConstants::ENABLED, name, text);
  }
  // A value present in the key wins over a kept-aside copy of the same name.
  for (const StartupItem& live : entries) {
    if (_backup.contains(live)) _backup.remove(live);
  }
  for (const StartupItem& kept : _backup.getEntries(_type)) entries.push_back(kept);
  return entries;
}

void RegistryDatabase::disableEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_OPEN);
  if (item.getName().find('\0') != std::string::npos ||
      item.getData().find('\0') != std::string::npos) {
    throw windows::registry::RegistryUnexpectedTypeException(ZERO_BYTE + key.getName() + "\\" +
                                                             item.getName() + "\n");
  }
  const PreviousValue previous = readPrevious(hive, keyPath, item.getName());
  RegistryWriterImpl writer(key);
  try {
    writer.deleteValue(item.getName());
  } catch (const windows::registry::RegistryValueNotFoundException&) {
    // Removed meanwhile by another program: keep it aside all the same.
  }

  const int previousState = item.getState();
  const std::vector<StartupItem> previousEntries = _backup.getAllEntries();
  item.setState(StartupConstants::DISABLED);
  // The newest data wins over an older kept-aside copy: never two records of one entry.
  if (_backup.contains(item)) _backup.remove(item);
  // Kept as it is read back from the file: a disabled entry that has not changed.
  _backup.add(StartupItem(_type, StartupConstants::DISABLED, item.getName(), item.getData()));
  try {
    _backup.save();
  } catch (...) {
    // Whatever stopped the save (a failure, or anything else that ended it midway), the
    // entry must stay either live in its key or kept in the list.
    const std::exception_ptr saveFailure = std::current_exception();
    // A value that another program removed meanwhile has no place to go back to: the
    // entry stays in the list in memory.
    if (previous.known && !previous.value) throw;
    std::string restoreFailure;
    try {
      if (previous.value) {
        writer.writeRaw(item.getName(), *previous.value);
      } else {
        writer.writeString(item.getName(), item.getData());
      }
    } catch (const exceptions::Exception& e) {
      restoreFailure = e.getMessage();
    } catch (...) {
      restoreFailure = UNKNOWN_FAILURE;
    }
    if (!restoreFailure.empty()) {
      // Neither back in the key nor saved: keep it in the list in memory, so that it is
      // still shown as disabled and written with the next save.
      throw io::file::CouldNotSaveFileException(textOf(saveFailure) + NOT_WRITTEN_BACK +
                                                restoreFailure);
    }
    _backup.setAllEntries(previousEntries);
    item.setState(previousState);
    throw;
  }
}

void RegistryDatabase::enableEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_OPEN);
  RegistryWriterImpl(key).writeString(item.getName(), item.getData());
  item.setState(StartupConstants::ENABLED);
  _backup.remove(item);
  _backup.save();
}

void RegistryDatabase::deleteEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_OPEN);
  try {
    RegistryWriterImpl(key).deleteValue(item.getName());
  } catch (const windows::registry::RegistryValueNotFoundException&) {
  }
  if (_backup.contains(item)) {
    _backup.remove(item);
    _backup.save();
  }
}

void RegistryDatabase::addEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_CREATE);
  RegistryWriterImpl(key).writeString(item.getName(), item.getData());
  if (_backup.contains(item)) _backup.remove(item);
}

StartupItem RegistryDatabase::formatEntry(StartupItem& item) { return item; }

}  // namespace products::stelmar::database
