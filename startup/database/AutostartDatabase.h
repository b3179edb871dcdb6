// The store of one autostart folder: a live entry is a file in the folder (normally a
// shortcut, name = file name, data = the command line it starts). Disabling moves the file
// into a backup folder of the program's own, enabling moves it back.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "startup/StartupDatabase.h"
#include "startup/database/RecycleStore.h"
#include "startup/database/StartupApproved.h"

namespace products::stelmar::database {

class AutostartDatabase : public StartupDatabase {
 public:
  static const char* const SHORTCUT_EXTENSION;  // "lnk"

  struct Location {
    HKEY hive;
    std::string keyPath;
    std::string valueName;
  };

  // Creates the backup folder (ending in a backslash, relative to the current directory)
  // and reads where the autostart folder of `type` lies. Never throws: a failure leaves the
  // database not working, with the failure's text as the reason. `windows64`: Windows'
  // own switch of the folder's entries lies in its native view.
  // `recycle` (not owned; may be null) keeps every deleted entry to be restored.
  AutostartDatabase(int type, const std::string& backupFolder, bool windows64 = false,
                    RecycleStore* recycle = nullptr);

  // A file in the folder that Windows' own switch has turned off is listed DISABLED (marked
  // so); enabling it switches it on as Windows does and leaves the file where it is.

  // A file both in the folder and kept aside is listed once, live: when the two are the same
  // bytes an operation was cut short and the kept copy goes; otherwise both stay and the live
  // entry's note names the kept one.
  std::vector<StartupItem> getEntries() override;
  void enableEntry(StartupItem& item) override;
  // Another file of the same name already kept aside goes to the store of deleted entries
  // first.
  void disableEntry(StartupItem& item) override;
  // Keeps the file (live and kept copies) in the store of deleted entries first.
  void deleteEntry(StartupItem& item) override;
  // Only a shortcut is taken out so: a program file in the folder is the user's program.
  void removeEntry(StartupItem& item) override;
  void addKeptEntry(StartupItem& item) override;
  void restoreEntry(const RecycledEntry& entry) override;
  // Enable, disable, delete and add throw AutostartDatabaseException when not working.
  // Creates a shortcut named as the item (formatEntry first) that starts the item's data;
  // Windows' switch for it is switched on as for a registry entry. An entry made from a
  // shortcut (a move, an edit) is a copy of that shortcut with only its target and
  // arguments changed, and those only when the command line changed. The shortcut is made
  // whole under a passing name and then put in place in one step.
  void addEntry(StartupItem& item) override;
  // The item with ".lnk" appended to its name unless it already ends so (any case).
  StartupItem formatEntry(StartupItem& item) override;
  int getType() override { return _type; }
  bool isWorking() override { return _working; }

  // The shortcuts and programs directly in `folder`, with the given state. Throws
  // AutostartDatabaseException when the database is not working.
  virtual std::vector<StartupItem> getFolderEntries(const std::string& folder, int state);

  const std::string& getFolder() const { return _folder; }
  const std::string& getBackupFolder() const { return _backupFolder; }
  const std::string& getFailureReason() const { return _failureReason; }

  // Where the folder of an autostart type is named (HKEY_CURRENT_USER and empty texts, after
  // a failed check, for any other type).
  static Location getLocation(int type);

 private:
  void checkWorking() const;
  // Throws for an entry whose name the code page cannot hold.
  void checkExact(const StartupItem& item) const;
  // Writes the item's shortcut as `folder` + its name.
  void writeShortcut(const StartupItem& item, const std::string& folder);
  // Keeps a file in the store of deleted entries (nothing without one).
  void recycleFile(const std::string& path, const std::string& name, int state);

  std::string _failureReason;
  std::string _folder;
  int _type;
  std::string _backupFolder;
  bool _working = true;
  std::optional<StartupApproved> _approved;
  RecycleStore* _recycle;
};

}  // namespace products::stelmar::database
