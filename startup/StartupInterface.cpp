#include "startup/StartupInterface.h"

#include <algorithm>

#include "startup/StartupConstants.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"

namespace products::stelmar {

const char* const StartupInterface::SETS_DIFFER =
    "The set of entries that defines the new loading order differs from the current set.";

namespace {

struct Sentences {
  const char* programFailure;
  const char* otherFailure;
};
const Sentences ADD = {"Error while adding an entry.\n\n",
                       "Error while adding an entry. An ... exception was caught.\n\n"};
const Sentences DELETE = {"Error while deleting an entry.\n\n",
                          "Error while deleting an entry. An ... exception was caught.\n\n"};
const Sentences ENABLE = {"Error while enabling an entry.\n\n",
                          "Error while enabling an entry. An ... exception was caught.\n\n"};
const Sentences DISABLE = {"Error while disabling an entry.\n\n",
                           "Error while disabling an entry. An ... exception was caught.\n\n"};
const Sentences FORMAT = {"Error while formating an entry.\n\n",
                          "Error while formating an entry. An ... exception was caught.\n\n"};
const Sentences RESTORE = {"Error while restoring an entry.\n\n",
                           "Error while restoring an entry. An ... exception was caught.\n\n"};
const Sentences REPLACE = {
    "Error while trying to replace all entries.\n\n",
    "Error while trying to replace all entries. An ... exception was caught.\n\n"};

const char* const NO_DATABASE = "There is no store for entries of this type.";
const char* const UNKNOWN_FAILURE = "An ... exception was caught.";
const char* const KEPT_DISABLED =
    "\n\nThe entry had been taken out of its place and could not be written back. It is kept "
    "as a disabled entry:\n";
const char* const NOT_KEPT =
    "\n\nThe entry had been taken out of its place and could neither be written back nor kept "
    "as a disabled entry. It can be restored from \"Recently deleted\":\n";

// Runs one operation of a store and reports its failure; true when it worked.
template <typename Operation>
bool report(ErrorHandler& handler, const Sentences& sentences, const StartupItem& item,
            Operation operation) {
  try {
    operation();
    return true;
  } catch (const exceptions::Exception& e) {
    handler.handleError(sentences.programFailure + item.toString() + "\n\n" + e.getMessage());
  } catch (...) {
    handler.handleError(sentences.otherFailure + item.toString() + "\n\n");
  }
  return false;
}

// The failure's text, and whether it was one of the program's exceptions. Call inside a
// catch handler only.
std::pair<std::string, bool> currentFailure() {
  try {
    throw;
  } catch (const exceptions::Exception& e) {
    return {e.getMessage(), true};
  } catch (...) {
    return {UNKNOWN_FAILURE, false};
  }
}

}  // namespace

StartupInterface::StartupInterface(ErrorHandler& errorHandler) : _errorHandler(errorHandler) {}

void StartupInterface::addDatabase(StartupDatabase& database) {
  const int type = database.getType();
  STELMAR_ASSERT(_database.find(type) == _database.end());
  _database[type] = &database;
}

std::vector<int> StartupInterface::getTypes() const {
  std::vector<int> types;
  for (const auto& entry : _database) types.push_back(entry.first);
  return types;
}

StartupDatabase* StartupInterface::findDatabase(int type) {
  const auto i = _database.find(type);
  if (i == _database.end()) {
    errorresources::assertion("_database.find(item.getType()) != _database.end()", __FILE__,
                              __LINE__);
    return nullptr;
  }
  return i->second;
}

std::vector<StartupItem> StartupInterface::getEntries(int type) {
  StartupDatabase* const database = findDatabase(type);
  return database ? database->getEntries() : std::vector<StartupItem>();
}

bool StartupInterface::addEntry(StartupItem& item) {
  StartupDatabase* const database = findDatabase(item.getType());
  if (!database) {
    _errorHandler.handleError(ADD.programFailure + item.toString() + "\n\n" + NO_DATABASE);
    return false;
  }
  return report(_errorHandler, ADD, item, [&] { database->addEntry(item); });
}

bool StartupInterface::deleteEntry(StartupItem& item) {
  StartupDatabase* const database = findDatabase(item.getType());
  if (!database) {
    _errorHandler.handleError(DELETE.programFailure + item.toString() + "\n\n" + NO_DATABASE);
    return false;
  }
  return report(_errorHandler, DELETE, item, [&] { database->deleteEntry(item); });
}

bool StartupInterface::enableEntry(StartupItem& item) {
  StartupDatabase* const database = findDatabase(item.getType());
  if (!database) {
    _errorHandler.handleError(ENABLE.programFailure + item.toString() + "\n\n" + NO_DATABASE);
    return false;
  }
  return report(_errorHandler, ENABLE, item, [&] { database->enableEntry(item); });
}

bool StartupInterface::disableEntry(StartupItem& item) {
  StartupDatabase* const database = findDatabase(item.getType());
  if (!database) {
    _errorHandler.handleError(DISABLE.programFailure + item.toString() + "\n\n" + NO_DATABASE);
    return false;
  }
  return report(_errorHandler, DISABLE, item, [&] { database->disableEntry(item); });
}

bool StartupInterface::removeEntry(StartupItem& item) {
  StartupDatabase* const database = findDatabase(item.getType());
  if (!database) {
    _errorHandler.handleError(DELETE.programFailure + item.toString() + "\n\n" + NO_DATABASE);
    return false;
  }
  return report(_errorHandler, DELETE, item, [&] { database->removeEntry(item); });
}

bool StartupInterface::addKeptEntry(StartupItem& item) {
  StartupDatabase* const database = findDatabase(item.getType());
  if (!database) {
    _errorHandler.handleError(ADD.programFailure + item.toString() + "\n\n" + NO_DATABASE);
    return false;
  }
  return report(_errorHandler, ADD, item, [&] { database->addKeptEntry(item); });
}

std::vector<database::RecycledEntry> StartupInterface::getDeletedEntries() const {
  std::vector<database::RecycledEntry> entries;
  if (!_recycle) return entries;
  for (const database::RecycledEntry& entry : _recycle->getEntries()) {
    if (_database.count(entry.startupType)) entries.push_back(entry);
  }
  return entries;
}

bool StartupInterface::restoreEntry(std::uint64_t time) {
  const database::RecycledEntry* found = _recycle ? _recycle->find(time) : nullptr;
  if (!found) return false;
  const database::RecycledEntry entry = *found;
  const StartupItem item(entry.startupType, entry.state, entry.name, entry.location);
  StartupDatabase* const database = findDatabase(entry.startupType);
  if (!database) {
    _errorHandler.handleError(RESTORE.programFailure + item.toString() + "\n\n" + NO_DATABASE);
    return false;
  }
  return report(_errorHandler, RESTORE, item, [&] { database->restoreEntry(entry); });
}

StartupItem StartupInterface::formatEntry(StartupItem& item) {
  StartupDatabase* const database = findDatabase(item.getType());
  if (!database) {
    _errorHandler.handleError(FORMAT.programFailure + item.toString() + "\n\n" + NO_DATABASE);
    return item;
  }
  StartupItem formatted = item;
  report(_errorHandler, FORMAT, item, [&] { formatted = database->formatEntry(item); });
  return formatted;
}

bool StartupInterface::replaceAllEntries(const std::vector<StartupItem>& entries) {
  if (entries.empty()) return true;
  const int itemType = entries.front().getType();
  const auto found = _database.find(itemType);
  if (found == _database.end()) {
    errorresources::assertion("_database.find(itemType) != _database.end()", __FILE__, __LINE__);
    _errorHandler.handleError(std::string(REPLACE.programFailure) + NO_DATABASE);
    return false;
  }
  StartupDatabase& database = *found->second;

  std::vector<StartupItem> current;
  try {
    current = database.getEntries();
  } catch (...) {
    const auto [text, programFailure] = currentFailure();
    _errorHandler.handleError(programFailure ? REPLACE.programFailure + text
                                             : std::string(REPLACE.otherFailure));
    return false;
  }

  std::vector<StartupItem> newSorted = entries;
  std::vector<StartupItem> currentSorted = current;
  std::sort(newSorted.begin(), newSorted.end(), StartupItemOrder());
  std::sort(currentSorted.begin(), currentSorted.end(), StartupItemOrder());
  if (newSorted != currentSorted) {
    _errorHandler.handleError(SETS_DIFFER);
    STELMAR_ASSERT(false);
    return false;
  }

  // Every failure is collected and the work goes on: an entry that could not be deleted is
  // still in its place, and every entry is written again whatever happened before, so that
  // none is left out.
  std::vector<std::string> failures;
  bool firstIsProgramFailure = true;
  auto noteFailure = [&](const std::string& text, bool programFailure) {
    if (failures.empty()) firstIsProgramFailure = programFailure;
    failures.push_back(text);
  };
  std::vector<StartupItem> takenOut;
  const std::uint64_t since = database::RecycleStore::now();
  for (StartupItem& item : current) {
    // A disabled entry has no value in the key to take out, and stays kept and disabled.
    // One that Windows switched off has its value in the key, and is taken out like any
    // live one (its switch stays as it is). Each is kept in the store of deleted entries
    // until it is back, so that a crash meanwhile loses none.
    if (item.getState() == StartupConstants::DISABLED && !item.isSwitchedOffByWindows()) continue;
    try {
      database.deleteEntry(item);
      takenOut.push_back(item);
    } catch (...) {
      const auto [text, programFailure] = currentFailure();
      noteFailure(text, programFailure);
    }
  }
  std::vector<std::string> backNames;
  for (const StartupItem& entry : entries) {
    StartupItem item = entry;
    if (std::find(takenOut.begin(), takenOut.end(), item) == takenOut.end()) continue;
    try {
      database.addEntry(item);
      backNames.push_back(item.getName());
      continue;
    } catch (...) {
      const auto [text, programFailure] = currentFailure();
      // Taken out and not written back: keep it aside rather than drop it.
      StartupItem kept(item.getType(), StartupConstants::DISABLED, item.getName(), item.getData());
      try {
        database.addKeptEntry(kept);
        backNames.push_back(item.getName());
        noteFailure(text + KEPT_DISABLED + item.toString(), programFailure);
      } catch (...) {
        const auto [keepText, keepProgramFailure] = currentFailure();
        (void)keepProgramFailure;
        noteFailure(text + NOT_KEPT + item.toString() + "\n\n" + keepText, programFailure);
      }
    }
  }
  // Back in place: no longer among the deleted ones.
  if (_recycle && !backNames.empty()) {
    try {
      _recycle->forgetSince(since, itemType, backNames);
    } catch (...) {
      const auto [text, programFailure] = currentFailure();
      noteFailure(text, programFailure);
    }
  }
  if (failures.empty()) return true;

  std::string text = firstIsProgramFailure ? REPLACE.programFailure : REPLACE.otherFailure;
  for (std::size_t i = 0; i < failures.size(); ++i) {
    if (i > 0) text += "\n\n";
    text += failures[i];
  }
  _errorHandler.handleError(text);
  return false;
}

}  // namespace products::stelmar
