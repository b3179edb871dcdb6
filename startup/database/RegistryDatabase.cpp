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
const char* const NOT_TEXT =
    "The entry cannot be disabled: its value is not a text (REG_SZ or REG_EXPAND_SZ) but of the "
    "registry type ";
const char* const NOT_TEXT_END =
    ", which the store of disabled entries cannot keep. The value stays as it is. Entry: ";
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

PreviousValue readPrevious(HKEY hive, const std::string& keyPath, REGSAM view,
                           const std::string& name) {
  PreviousValue previous;
  try {
    RegistryKeyImpl key(hive, keyPath, KEY_READ, RegistryKeyImpl::MODE_OPEN, view);
    previous.value = RegistryReaderImpl(key).readRaw(name);
    previous.known = true;
  } catch (const exceptions::Exception&) {
  }
  return previous;
}

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Writes an entry's value: exactly as `raw` was when the entry's data is still what `raw`
// reads as (a REG_EXPAND_SZ whose expansion is unchanged, say), else as REG_SZ text.
void writeValue(RegistryWriterImpl& writer, const StartupItem& item,
                const std::optional<RawValue>& raw, bool native) {
  bool same = false;
  if (raw) {
    try {
      same = windows::registry::listedText(raw->type, raw->bytes, native) == item.getData();
    } catch (const exceptions::Exception&) {
      // Cannot be expanded any more: the entry's own text is what is known.
    }
  }
  if (same) {
    writer.writeRaw(item.getName(), *raw);
  } else {
    writer.writeString(item.getName(), item.getData());
  }
}

// The value kept with a disabled entry, if the store has it.
std::optional<RawValue> keptValue(const RegistryBackup& backup, const StartupItem& item) {
  const KeptValue* const kept = backup.findValue(item);
  if (!kept) return std::nullopt;
  return RawValue{kept->registryType, kept->bytes};
}

}  // namespace

RegistryDatabase::RegistryDatabase(int type, RegistryBackup& backup, bool windows64)
    : _type(type), _backup(backup), _view(getView(type, windows64)) {
  if (auto location = StartupApproved::locationOf(type, windows64)) _approved.emplace(*location);
}

REGSAM RegistryDatabase::getView(int type, bool windows64) {
  if (!windows64) return 0;
  if (type >= StartupConstants::LM_RUN_ALWAYS && type <= StartupConstants::LM_RUN_SERVICE_ONCE) {
    return KEY_WOW64_64KEY;
  }
  if (type == StartupConstants::LM_RUN_ALWAYS_32 || type == StartupConstants::LM_RUN_ONCE_32) {
    return KEY_WOW64_32KEY;
  }
  return 0;
}

std::pair<HKEY, std::string> RegistryDatabase::getLocation(int type) {
  if (type >= StartupConstants::LM_RUN_ALWAYS && type <= StartupConstants::LM_RUN_SERVICE_ONCE) {
    return {HKEY_LOCAL_MACHINE, RUN_KEYS[type]};
  }
  if (type == StartupConstants::CU_RUN_ALWAYS || type == StartupConstants::CU_RUN_ONCE) {
    return {HKEY_CURRENT_USER, RUN_KEYS[type]};
  }
  // The same key names, opened in the 32-bit view.
  if (type == StartupConstants::LM_RUN_ALWAYS_32) {
    return {HKEY_LOCAL_MACHINE, RUN_KEYS[StartupConstants::LM_RUN_ALWAYS]};
  }
  if (type == StartupConstants::LM_RUN_ONCE_32) {
    return {HKEY_LOCAL_MACHINE, RUN_KEYS[StartupConstants::LM_RUN_ONCE]};
  }
  if (type >= StartupConstants::MAX_TYPES) {
    STELMAR_ASSERT(type < StartupConstants::MAX_TYPES);
  } else {
    STELMAR_ASSERT(false);
  }
  return {HKEY_CURRENT_USER, std::string()};
}

std::vector<std::pair<std::string, std::string>> RegistryDatabase::liveValues() const {
  const auto [hive, keyPath] = getLocation(_type);
  std::optional<RegistryKeyImpl> key;
  try {
    key.emplace(hive, keyPath, READ_ACCESS, RegistryKeyImpl::MODE_OPEN, _view);
  } catch (const windows::registry::RegistryKeyNotFoundException&) {
    return {};
  }
  return RegistryReaderImpl(*key).getTextValues();
}

std::vector<StartupItem> RegistryDatabase::getEntries() {
  _takenOut.clear();
  // A location whose key does not exist has no live entries, but may have kept ones.
  // Only text values are commands Windows starts; a number or binary value stays where it
  // is, neither shown nor changed.
  const auto values = liveValues();
  std::set<std::string> switchedOff;
  if (_approved) {
    std::vector<std::string> names;
    for (const auto& value : values) names.push_back(value.first);
    switchedOff = _approved->switchedOff(names);
  }
  std::vector<StartupItem> entries;
  for (const auto& [name, text] : values) {
    if (switchedOff.count(name)) {
      entries.emplace_back(_type, StartupConstants::DISABLED, name, text);
      entries.back().markSwitchedOffByWindows();
    } else {
      entries.emplace_back(_type, StartupConstants::ENABLED, name, text);
    }
    const auto [hive, keyPath] = getLocation(_type);
    if (const std::optional<RawValue> raw = readPrevious(hive, keyPath, _view, name).value)
      entries.back().setSourceValue({raw->type, raw->bytes, text});
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
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_OPEN, _view);
  const PreviousValue previous = readPrevious(hive, keyPath, _view, item.getName());
  // The value as it is in the key, or as this store took it out (and did not put back).
  std::optional<RawValue> raw = previous.value;
  const auto takenOut = _takenOut.find(item.getName());
  if (!raw && takenOut != _takenOut.end()) raw = takenOut->second;
  // The store keeps a value's text; a number or binary value would come back as text.
  if (raw && !isText(raw->type)) {
    throw windows::registry::RegistryUnexpectedTypeException(
        NOT_TEXT + std::to_string(raw->type) + NOT_TEXT_END + key.getName() + "\\" +
        item.getName() + "\n");
  }
  if (item.getName().find('\0') != std::string::npos ||
      item.getData().find('\0') != std::string::npos) {
    throw windows::registry::RegistryUnexpectedTypeException(ZERO_BYTE + key.getName() + "\\" +
                                                             item.getName() + "\n");
  }
  RegistryWriterImpl writer(key);
  try {
    writer.deleteValue(item.getName());
  } catch (const windows::registry::RegistryValueNotFoundException&) {
    // Removed meanwhile by another program: keep it aside all the same.
  }

  const int previousState = item.getState();
  const RegistryBackup::Contents previousContents = _backup.getContents();
  item.setState(StartupConstants::DISABLED);
  // The newest data wins over an older kept-aside copy: never two records of one entry.
  if (_backup.contains(item)) _backup.remove(item);
  // Kept as it is read back from the file: a disabled entry that has not changed.
  const StartupItem kept(_type, StartupConstants::DISABLED, item.getName(), item.getData());
  _backup.add(kept);
  if (raw) _backup.keepValue(kept, raw->type, raw->bytes);
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
    _backup.setContents(previousContents);
    item.setState(previousState);
    throw;
  }
  if (takenOut != _takenOut.end()) _takenOut.erase(takenOut);
}

void RegistryDatabase::enableEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  // A kept entry of a location whose key is gone brings the key back.
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_CREATE, _view);
  // Switched off by Windows, with its value in place: only Windows' switch changes.
  if (_approved && !_backup.contains(item) &&
      readPrevious(hive, keyPath, _view, item.getName()).value &&
      _approved->switchOn(item.getName())) {
    item.setState(StartupConstants::ENABLED);
    return;
  }
  RegistryWriterImpl writer(key);
  writeValue(writer, item, keptValue(_backup, item), _view == KEY_WOW64_64KEY);
  // A switch that Windows left off would keep the value written back from starting.
  if (_approved) _approved->switchOn(item.getName());
  item.setState(StartupConstants::ENABLED);
  _backup.remove(item);
  _backup.save();
}

void RegistryDatabase::deleteEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  // Without its key, a kept entry still leaves the store.
  std::optional<RegistryKeyImpl> key;
  try {
    key.emplace(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_OPEN, _view);
  } catch (const windows::registry::RegistryKeyNotFoundException&) {
  }
  // An add takes an entry out of the backup without saving. Saved now, before anything
  // changes, or the file's stale record would bring the entry deleted here back as a
  // disabled one at the next start.
  if (_backup.hasUnsavedChanges()) _backup.save();
  const PreviousValue previous = readPrevious(hive, keyPath, _view, item.getName());
  try {
    if (key) RegistryWriterImpl(*key).deleteValue(item.getName());
  } catch (const windows::registry::RegistryValueNotFoundException&) {
  }
  // Remembered, so that adding the entry back (a new loading order, an edit undone) writes
  // the value as it was.
  const std::optional<RawValue> raw = previous.value ? previous.value : keptValue(_backup, item);
  if (raw) _takenOut[item.getName()] = *raw;
  if (_backup.contains(item)) {
    _backup.remove(item);
    _backup.save();
  }
}

void RegistryDatabase::addEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_CREATE, _view);
  const auto takenOut = _takenOut.find(item.getName());
  RegistryWriterImpl writer(key);
  // An entry brought from another place or name with its command line unchanged is written
  // as its value was there.
  if (const StartupItem::SourceValue* source = item.unchangedSourceValue()) {
    writer.writeRaw(item.getName(), RawValue{source->registryType, source->bytes});
  } else {
    writeValue(writer, item,
               takenOut != _takenOut.end() ? takenOut->second : keptValue(_backup, item),
               _view == KEY_WOW64_64KEY);
  }
  if (takenOut != _takenOut.end()) _takenOut.erase(takenOut);
  if (_backup.contains(item)) _backup.remove(item);
  if (_approved) _approved->switchOnForNewEntry(item);
}

StartupItem RegistryDatabase::formatEntry(StartupItem& item) { return item; }

}  // namespace products::stelmar::database
