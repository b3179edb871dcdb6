#include "startup/database/AutostartDatabase.h"

#include <algorithm>
#include <cctype>

#include "startup/StartupConstants.h"
#include "startup/io/file/FileHelper.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/util/parser/ArgumentParserHelpers.h"
#include "startup/windows/file/Shortcut.h"
#include "startup/windows/file/WindowsFileHelper.h"
#include "startup/windows/registry/RegistryKeyImpl.h"
#include "startup/windows/registry/RegistryReaderImpl.h"

namespace products::stelmar::database {

using util::parser::ArgumentParserHelpers;
using windows::file::WindowsFileHelper;

const char* const AutostartDatabase::SHORTCUT_EXTENSION = "lnk";

namespace {

const char* const NOT_WORKING = "The autostart startup database isn't working. Reason: ";
const char* const SHELL_FOLDERS =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const USER_SHELL_FOLDERS =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const COMMON_STARTUP = "Common Startup";
const char* const STARTUP = "Startup";
const char* const ALL_FILES = "*.*";

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool isFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const char* const KEPT_BESIDE =
    "\n\nA disabled entry of the same name is kept aside as well; it is shown again once this "
    "one is gone. It starts: ";
const char* const INEXACT =
    "The entry's file name holds characters that the system's code page cannot show, so the "
    "program cannot keep it exactly (to enable or restore it). It is not changed: it stays as it "
    "is and keeps running. File: ";
const char* const PROGRAM_NOT_REMOVED =
    "This entry is a program file in the autostart folder, not a shortcut. The file is the "
    "program itself and is not removed by a move or an edit; it stays where it is: ";
// A shortcut is made under this name before it is put in place; no listing reads it.
const char* const PASSING_NAME = "~stelmar-new.tmp";

bool sameBytes(const std::string& a, const std::string& b) {
  try {
    return io::file::FileHelper::load(a) == io::file::FileHelper::load(b);
  } catch (const exceptions::Exception&) {
    return false;
  }
}

std::string withBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

AutostartDatabase::Location AutostartDatabase::getLocation(int type) {
  switch (type) {
    case StartupConstants::LM_RUN_AUTOSTART:
      return {HKEY_LOCAL_MACHINE, SHELL_FOLDERS, COMMON_STARTUP};
    case StartupConstants::LM_RUN_AUTOSTART_USER:
      return {HKEY_LOCAL_MACHINE, USER_SHELL_FOLDERS, COMMON_STARTUP};
    case StartupConstants::CU_RUN_AUTOSTART:
      return {HKEY_CURRENT_USER, SHELL_FOLDERS, STARTUP};
    case StartupConstants::CU_RUN_AUTOSTART_USER:
      return {HKEY_CURRENT_USER, USER_SHELL_FOLDERS, STARTUP};
    default:
      break;
  }
  if (type >= StartupConstants::MAX_TYPES) {
    STELMAR_ASSERT(type < StartupConstants::MAX_TYPES);
  } else {
    STELMAR_ASSERT(false);
  }
  return {HKEY_CURRENT_USER, std::string(), std::string()};
}

AutostartDatabase::AutostartDatabase(int type, const std::string& backupFolder, bool windows64,
                                     RecycleStore* recycle)
    : _type(type), _backupFolder(withBackslash(backupFolder)), _recycle(recycle) {
  if (auto location = StartupApproved::locationOf(type, windows64)) _approved.emplace(*location);
  try {
    const Location location = getLocation(type);
    WindowsFileHelper::createDirectory(_backupFolder);
    windows::registry::RegistryKeyImpl key(location.hive, location.keyPath, KEY_READ,
                                           windows::registry::RegistryKeyImpl::MODE_OPEN);
    _folder =
        withBackslash(windows::registry::RegistryReaderImpl(key).readString(location.valueName));
  } catch (const exceptions::Exception& e) {
    _working = false;
    _failureReason = e.getMessage();
  }
}

// Without its folder the database would move, delete and create files in the current
// directory, which is the program's own folder.
void AutostartDatabase::checkWorking() const {
  if (!_working) throw AutostartDatabaseException(NOT_WORKING + _failureReason);
}

std::vector<StartupItem> AutostartDatabase::getFolderEntries(const std::string& folder, int state) {
  checkWorking();
  std::vector<StartupItem> entries;
  const std::string directory = withBackslash(folder);
  std::vector<std::string> inexact;
  for (const std::string& path :
       WindowsFileHelper::getFirstLevelFiles(directory, ALL_FILES, &inexact)) {
    std::string data;
    // Any file with ".lnk" in its name is read as a shortcut (a.lnk.bak too); file names
    // carry no case, so neither does the extension.
    if (lowerCase(path).find(".lnk") != std::string::npos) {
      windows::file::IShellLinkShortcut shortcut(path);
      data = shortcut.getPath() + " " + shortcut.getArguments();
    } else if (ArgumentParserHelpers::isProgram("\"" + path + "\"")) {
      // Quoted, so that a blank in the folder's path cannot cut the program path short.
      data = path;
    } else {
      continue;
    }
    entries.emplace_back(_type, state, path.substr(directory.size()), data);
    entries.back().setFile(path);
  }
  // A name the code page cannot hold is shown as it is and never touched.
  for (const std::string& path : inexact) {
    const std::string name = path.substr(directory.size());
    if (lowerCase(name).find(".lnk") == std::string::npos &&
        !ArgumentParserHelpers::isProgram("\"" + path + "\"")) {
      continue;
    }
    entries.emplace_back(_type, state, name, path);
    entries.back().markInexact();
  }
  return entries;
}

std::vector<StartupItem> AutostartDatabase::getEntries() {
  std::vector<StartupItem> live = getFolderEntries(_folder, StartupConstants::ENABLED);
  std::set<std::string> switchedOff;
  if (_approved) {
    std::vector<std::string> names;
    for (const StartupItem& entry : live) names.push_back(entry.getName());
    switchedOff = _approved->switchedOff(names);
  }
  for (StartupItem& entry : live) {
    if (switchedOff.count(entry.getName())) {
      const std::string file = entry.getFile();
      entry = StartupItem(_type, StartupConstants::DISABLED, entry.getName(), entry.getData());
      entry.markSwitchedOffByWindows();
      entry.setFile(file);
    }
  }
  std::vector<StartupItem> kept = getFolderEntries(_backupFolder, StartupConstants::DISABLED);
  // The live file is shown, never a kept copy of the same name beside it.
  std::vector<StartupItem> shown = live;
  for (const StartupItem& copy : kept) {
    const auto same = std::find(live.begin(), live.end(), copy);
    if (same == live.end()) {
      shown.push_back(copy);
    } else if (sameBytes(same->getFile(), copy.getFile())) {
      // Moved or copied back when an operation was cut short: the same file twice.
      WindowsFileHelper::deleteFile(copy.getFile(), false);
    } else {
      shown[static_cast<std::size_t>(same - live.begin())].setNote(KEPT_BESIDE + copy.getData());
    }
  }
  return shown;
}

void AutostartDatabase::recycleFile(const std::string& path, const std::string& name, int state) {
  if (!_recycle || !isFile(path)) return;
  _recycle->keep(RecycledEntry{0, _type, state, 0, name,
                               state == StartupConstants::ENABLED ? _folder : _backupFolder,
                               io::file::FileHelper::load(path)});
}

void AutostartDatabase::checkExact(const StartupItem& item) const {
  if (item.isInexact()) throw AutostartDatabaseException(INEXACT + item.getName());
}

void AutostartDatabase::disableEntry(StartupItem& item) {
  checkWorking();
  checkExact(item);
  const std::string kept = _backupFolder + item.getName();
  // Another file of the name kept before is not dropped: it goes where deleted entries are
  // kept, to be restored.
  // Without such a store the move below fails and nothing is overwritten.
  if (isFile(kept) && isFile(_folder + item.getName())) {
    const bool same = sameBytes(kept, _folder + item.getName());
    if (!same && _recycle) recycleFile(kept, item.getName(), StartupConstants::DISABLED);
    if (same || _recycle) WindowsFileHelper::deleteFile(kept, false);
  }
  WindowsFileHelper::moveFile(_folder + item.getName(), kept);
  item.setState(StartupConstants::DISABLED);
  item.setFile(kept);
}

void AutostartDatabase::enableEntry(StartupItem& item) {
  checkWorking();
  const bool inFolder = isFile(_folder + item.getName());
  const bool kept = isFile(_backupFolder + item.getName());
  // Switched off by Windows, with its file in place: only Windows' switch changes.
  if (_approved && inFolder && !kept && _approved->switchOn(item.getName())) {
    item.setState(StartupConstants::ENABLED);
    return;
  }
  WindowsFileHelper::moveFile(_backupFolder + item.getName(), _folder + item.getName());
  item.setState(StartupConstants::ENABLED);
  item.setFile(_folder + item.getName());
  // A switch that Windows left off would keep the file moved back from starting.
  if (_approved) _approved->switchOn(item.getName());
}

void AutostartDatabase::deleteEntry(StartupItem& item) {
  checkWorking();
  checkExact(item);
  recycleFile(_folder + item.getName(), item.getName(), StartupConstants::ENABLED);
  recycleFile(_backupFolder + item.getName(), item.getName(), StartupConstants::DISABLED);
  WindowsFileHelper::deleteFile(_folder + item.getName(), false);
  WindowsFileHelper::deleteFile(_backupFolder + item.getName(), false);
}

void AutostartDatabase::removeEntry(StartupItem& item) {
  checkWorking();
  checkExact(item);
  if (!ArgumentParserHelpers::isShortcut(item.getName())) {
    throw AutostartDatabaseException(PROGRAM_NOT_REMOVED + _folder + item.getName());
  }
  // Only the copy the entry is: another of the same name kept aside stays.
  const bool live = item.getState() == StartupConstants::ENABLED || item.isSwitchedOffByWindows();
  WindowsFileHelper::deleteFile((live ? _folder : _backupFolder) + item.getName(), false);
}

void AutostartDatabase::writeShortcut(const StartupItem& item, const std::string& folder) {
  std::string target = ArgumentParserHelpers::getProgramPath(item.getData());
  std::string arguments = ArgumentParserHelpers::getArguments(item.getData());
  // The link object takes the path without quotes and the arguments without the blank
  // that separates them; listed again, the entry's data is as it was given.
  if (target.size() >= 2 && target.front() == '"' && target.back() == '"') {
    target = target.substr(1, target.size() - 2);
  }
  arguments.erase(0, arguments.find_first_not_of(' ') == std::string::npos
                         ? arguments.size()
                         : arguments.find_first_not_of(' '));
  // Made whole under a name no listing reads, then put in place in one step.
  const std::string passing = folder + PASSING_NAME;
  const std::string& source = item.getSource().file;
  if (!source.empty() && lowerCase(source).find(".lnk") != std::string::npos && isFile(source)) {
    windows::file::IShellLinkShortcut original(source);
    if (original.getPath() + " " + original.getArguments() == item.getData()) {
      WindowsFileHelper::copyFile(source, passing);
    } else {
      windows::file::ShortcutWriter(passing).rewrite(source, target, arguments);
    }
  } else {
    windows::file::ShortcutWriter(passing).write(target, arguments, _folder, "");
  }
  try {
    WindowsFileHelper::replaceFile(passing, folder + item.getName());
  } catch (...) {
    ::DeleteFileA(passing.c_str());
    throw;
  }
}

void AutostartDatabase::addEntry(StartupItem& item) {
  checkWorking();
  writeShortcut(item, _folder);
  item.setFile(_folder + item.getName());
  if (_approved) _approved->switchOnForNewEntry(item);
}

void AutostartDatabase::addKeptEntry(StartupItem& item) {
  checkWorking();
  writeShortcut(item, _backupFolder);
  item.setState(StartupConstants::DISABLED);
  item.setFile(_backupFolder + item.getName());
}

void AutostartDatabase::restoreEntry(const RecycledEntry& entry) {
  checkWorking();
  const std::string folder = entry.state == StartupConstants::DISABLED ? _backupFolder : _folder;
  io::file::FileHelper::save(folder + entry.name, entry.bytes);
  if (_recycle) _recycle->forget(entry.time);
}

StartupItem AutostartDatabase::formatEntry(StartupItem& item) {
  std::string name = item.getName();
  if (lowerCase(ArgumentParserHelpers::getExtension(name)) != SHORTCUT_EXTENSION) {
    name += ".lnk";
  }
  return StartupItem(item.getType(), item.getState(), name, item.getData());
}

}  // namespace products::stelmar::database
