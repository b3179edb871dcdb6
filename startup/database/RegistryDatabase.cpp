#include "startup/database/RegistryDatabase.h"

#include <algorithm>
#include <exception>
#include <set>
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
const char* const INEXACT =
    "The entry cannot be disabled: its name or command line holds characters that the system's "
    "code page cannot show, and the store of disabled entries keeps 8-bit text only, so it "
    "could not keep the entry exactly. The entry stays as it is and keeps running. Entry: ";
const char* const INEXACT_DELETE =
    "The entry cannot be deleted here: its name or command line holds characters that the "
    "system's code page cannot show, so it could not be kept to be restored. The entry stays as "
    "it is and keeps running. Entry: ";
const char* const HIDDEN_VALUE =
    "A value of this name that is no command line (registry type ";
const char* const HIDDEN_VALUE_END =
    ") is already under the key. It is not shown and is not replaced; please choose another "
    "name. Value: ";
const char* const LIVE_BESIDE =
    "The entry cannot be enabled: another value of the same name has appeared in its place "
    "meanwhile, and it would be overwritten. Value: ";
const char* const LIVE_BESIDE_END =
    "\nThe disabled entry stays kept; delete or rename the other value first.";
const char* const KEPT_BESIDE =
    "\n\nA disabled entry of the same name is kept aside as well; it is shown again once this "
    "one is gone. It starts: ";

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

RegistryDatabase::RegistryDatabase(int type, RegistryBackup& backup, bool windows64,
                                   RecycleStore* recycle)
    : _type(type),
      _backup(backup),
      _view(getView(type, windows64)),
      _windows64(windows64),
      _recycle(recycle) {
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

std::vector<windows::registry::ListedValue> RegistryDatabase::liveValues() const {
  const auto [hive, keyPath] = getLocation(_type);
  std::optional<RegistryKeyImpl> key;
  try {
    key.emplace(hive, keyPath, READ_ACCESS, RegistryKeyImpl::MODE_OPEN, _view);
  } catch (const windows::registry::RegistryKeyNotFoundException&) {
    return {};
  }
  return RegistryReaderImpl(*key).getListedValues();
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
    for (const auto& value : values) names.push_back(value.name);
    switchedOff = _approved->switchedOff(names);
  }
  std::vector<StartupItem> entries;
  for (const auto& value : values) {
    if (switchedOff.count(value.name)) {
      entries.emplace_back(_type, StartupConstants::DISABLED, value.name, value.text);
      entries.back().markSwitchedOffByWindows();
    } else {
      entries.emplace_back(_type, StartupConstants::ENABLED, value.name, value.text);
    }
    if (!value.exact) entries.back().markInexact();
    const auto [hive, keyPath] = getLocation(_type);
    if (const std::optional<RawValue> raw = readPrevious(hive, keyPath, _view, value.name).value)
      entries.back().setSourceValue({raw->type, raw->bytes, value.text});
  }
  // A value present in the key is shown, never a kept copy of the same name beside it.
  std::vector<StartupItem> hidden;
  bool finished = false;
  for (StartupItem& live : entries) {
    const StartupItem* kept = _backup.find(live);
    if (!kept) continue;
    if (kept->getData() == live.getData()) {
      // Written back or about to be deleted when an operation was cut short: the same entry.
      _backup.remove(live);
      finished = true;
    } else {
      live.setNote(KEPT_BESIDE + kept->getData());
      hidden.push_back(*kept);
    }
  }
  if (finished) {
    try {
      _backup.save();
    } catch (const exceptions::Exception&) {
      // Saved with the next change; the listing is right either way.
    }
  }
  for (const StartupItem& kept : _backup.getEntries(_type)) {
    if (std::find(hidden.begin(), hidden.end(), kept) == hidden.end()) entries.push_back(kept);
  }
  return entries;
}

std::optional<RawValue> RegistryDatabase::sourceValue(const StartupItem& item) const {
  const StartupItem::Source& source = item.getSource();
  if (!StartupConstants::isRegistryType(source.type)) return std::nullopt;
  const auto [hive, keyPath] = getLocation(source.type);
  const REGSAM view = getView(source.type, _windows64);
  if (auto live = readPrevious(hive, keyPath, view, source.name).value) return live;
  return keptValue(_backup, StartupItem(source.type, StartupConstants::DISABLED, source.name, ""));
}

void RegistryDatabase::disableEntry(StartupItem& item) {
  if (item.isInexact()) throw windows::registry::RegistryException(INEXACT + item.getName());
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

  const RegistryBackup::Contents before = _backup.getContents();
  // Another entry of the same name kept aside before is not dropped: it goes where deleted
  // entries are kept, to be restored.
  if (const StartupItem* older = _backup.find(item)) {
    if (older->getData() != item.getData() && _recycle) {
      const std::optional<RawValue> olderValue = keptValue(_backup, *older);
      _recycle->keep(RecycledEntry{0, _type, StartupConstants::DISABLED,
                                   olderValue ? olderValue->type : REG_SZ, older->getName(),
                                   key.getName(),
                                   olderValue ? olderValue->bytes
                                              : older->getData() + std::string(1, '\0')});
    }
    _backup.remove(item);
  }
  // Kept as it is read back from the file: a disabled entry that has not changed.
  const StartupItem kept(_type, StartupConstants::DISABLED, item.getName(), item.getData());
  _backup.add(kept);
  if (raw) _backup.keepValue(kept, raw->type, raw->bytes);
  // Kept on disk first; only then does the live value go.
  try {
    _backup.save();
  } catch (...) {
    _backup.setContents(before);
    throw;
  }
  try {
    RegistryWriterImpl(key).deleteValue(item.getName());
  } catch (const windows::registry::RegistryValueNotFoundException&) {
    // Removed meanwhile by another program: kept aside all the same.
  } catch (...) {
    // Still live: the record goes again. Should that save fail too, the entry is both live
    // and kept with the same command, which the next listing shows once, live.
    _backup.setContents(before);
    try {
      _backup.save();
    } catch (...) {
    }
    throw;
  }
  item.setState(StartupConstants::DISABLED);
  if (takenOut != _takenOut.end()) _takenOut.erase(takenOut);
}

void RegistryDatabase::enableEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  // A kept entry of a location whose key is gone brings the key back.
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_CREATE, _view);
  const std::optional<RawValue> present = readPrevious(hive, keyPath, _view, item.getName()).value;
  // Switched off by Windows, with its value in place: only Windows' switch changes.
  if (_approved && !_backup.contains(item) && present && _approved->switchOn(item.getName())) {
    item.setState(StartupConstants::ENABLED);
    return;
  }
  // Another value of the name that appeared meanwhile is not overwritten.
  if (present && _backup.contains(item)) {
    bool same = false;
    try {
      same = isText(present->type) &&
             windows::registry::listedText(present->type, present->bytes) == item.getData();
    } catch (const exceptions::Exception&) {
    }
    if (!same) {
      throw windows::registry::RegistryException(LIVE_BESIDE + key.getName() + "\\" +
                                                 item.getName() + LIVE_BESIDE_END);
    }
  }
  RegistryWriterImpl writer(key);
  writeValue(writer, item, keptValue(_backup, item), _view == KEY_WOW64_64KEY);
  // Live from here on, whatever becomes of the backup's save: the caller shows it so.
  item.setState(StartupConstants::ENABLED);
  // A switch that Windows left off would keep the value written back from starting.
  if (_approved) _approved->switchOn(item.getName());
  if (_backup.contains(item)) _backup.remove(item);
  _backup.save();
}

void RegistryDatabase::takeOut(StartupItem& item, bool keepForRestore) {
  if (item.isInexact()) throw windows::registry::RegistryException(INEXACT_DELETE + item.getName());
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
  const StartupItem* kept = _backup.find(item);
  if (keepForRestore && _recycle) {
    const std::string location = getView(_type, _windows64) == KEY_WOW64_32KEY
                                     ? windows::registry::hiveToString(hive) + "\\" + keyPath +
                                           RegistryKeyImpl::VIEW_32_SUFFIX
                                     : windows::registry::hiveToString(hive) + "\\" + keyPath;
    if (previous.value) {
      _recycle->keep(RecycledEntry{0, _type, StartupConstants::ENABLED, previous.value->type,
                                   item.getName(), location, previous.value->bytes});
    }
    if (kept) {
      const std::optional<RawValue> value = keptValue(_backup, *kept);
      _recycle->keep(RecycledEntry{0, _type, StartupConstants::DISABLED,
                                   value ? value->type : REG_SZ, kept->getName(), location,
                                   value ? value->bytes : kept->getData() + std::string(1, '\0')});
    }
  }
  // A removal takes out only the copy the entry is: another of the same name stays.
  const bool live = item.getState() == StartupConstants::ENABLED || item.isSwitchedOffByWindows();
  try {
    if (key && (keepForRestore || live)) RegistryWriterImpl(*key).deleteValue(item.getName());
  } catch (const windows::registry::RegistryValueNotFoundException&) {
  }
  // Remembered, so that adding the entry back (a new loading order, an edit undone) writes
  // the value as it was.
  const std::optional<RawValue> raw = previous.value ? previous.value : keptValue(_backup, item);
  if (raw) _takenOut[item.getName()] = *raw;
  if (kept && (keepForRestore || !live)) {
    _backup.remove(item);
    _backup.save();
  }
}

void RegistryDatabase::deleteEntry(StartupItem& item) { takeOut(item, true); }

void RegistryDatabase::removeEntry(StartupItem& item) { takeOut(item, false); }

void RegistryDatabase::addEntry(StartupItem& item) {
  const auto [hive, keyPath] = getLocation(_type);
  RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_CREATE, _view);
  // A value that is no command line is not listed, so nobody chose to replace it.
  const std::optional<RawValue> present = readPrevious(hive, keyPath, _view, item.getName()).value;
  if (present && !isText(present->type)) {
    throw windows::registry::RegistryUnexpectedTypeException(
        HIDDEN_VALUE + std::to_string(present->type) + HIDDEN_VALUE_END + key.getName() + "\\" +
        item.getName() + "\n");
  }
  const auto takenOut = _takenOut.find(item.getName());
  std::optional<RawValue> raw;
  if (takenOut != _takenOut.end()) raw = takenOut->second;
  if (!raw) raw = sourceValue(item);
  if (!raw) raw = keptValue(_backup, item);
  RegistryWriterImpl writer(key);
  // An entry brought from another place or name with its command line unchanged is written
  // as its value was there.
  if (const StartupItem::SourceValue* source = item.unchangedSourceValue()) {
    writer.writeRaw(item.getName(), RawValue{source->registryType, source->bytes});
  } else {
    writeValue(writer, item, raw, _view == KEY_WOW64_64KEY);
  }
  if (takenOut != _takenOut.end()) _takenOut.erase(takenOut);
  if (_backup.contains(item)) _backup.remove(item);
  if (_approved) _approved->switchOnForNewEntry(item);
}

void RegistryDatabase::addKeptEntry(StartupItem& item) {
  if (item.getName().find('\0') != std::string::npos ||
      item.getData().find('\0') != std::string::npos) {
    throw windows::registry::RegistryUnexpectedTypeException(ZERO_BYTE + item.getName() + "\n");
  }
  std::optional<RawValue> raw = sourceValue(item);
  if (!raw) raw = keptValue(_backup, item);
  bool same = false;
  if (raw) {
    try {
      same = windows::registry::listedText(raw->type, raw->bytes, _view == KEY_WOW64_64KEY) == item.getData();
    } catch (const exceptions::Exception&) {
    }
  }
  const RegistryBackup::Contents before = _backup.getContents();
  const StartupItem kept(_type, StartupConstants::DISABLED, item.getName(), item.getData());
  if (_backup.contains(kept)) _backup.remove(kept);
  _backup.add(kept);
  if (same) _backup.keepValue(kept, raw->type, raw->bytes);
  try {
    _backup.save();
  } catch (...) {
    _backup.setContents(before);
    throw;
  }
  item.setState(StartupConstants::DISABLED);
}

void RegistryDatabase::restoreEntry(const RecycledEntry& entry) {
  if (entry.state == StartupConstants::DISABLED) {
    std::string data;
    try {
      data = windows::registry::listedText(entry.registryType, entry.bytes);
    } catch (const exceptions::Exception&) {
      data = entry.bytes;
    }
    const RegistryBackup::Contents before = _backup.getContents();
    const StartupItem kept(_type, StartupConstants::DISABLED, entry.name, data);
    if (_backup.contains(kept)) _backup.remove(kept);
    _backup.add(kept);
    _backup.keepValue(kept, entry.registryType, entry.bytes);
    try {
      _backup.save();
    } catch (...) {
      _backup.setContents(before);
      throw;
    }
  } else {
    const auto [hive, keyPath] = getLocation(_type);
    RegistryKeyImpl key(hive, keyPath, WRITE_ACCESS, RegistryKeyImpl::MODE_CREATE, _view);
    RegistryWriterImpl(key).writeRaw(entry.name, RawValue{entry.registryType, entry.bytes});
  }
  if (_recycle) _recycle->forget(entry.time);
}

StartupItem RegistryDatabase::formatEntry(StartupItem& item) { return item; }

}  // namespace products::stelmar::database
