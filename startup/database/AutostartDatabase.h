// The store of one autostart folder: a live entry is a file in the folder (normally a
// shortcut, name = file name, data = the command line it starts). Disabling moves the file
// into a backup folder of the program's own, enabling moves it back.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "startup/StartupDatabase.h"
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
  AutostartDatabase(int type, const std::string& backupFolder, bool windows64 = false);

  // A file in the folder that Windows' own switch has turned off is listed DISABLED (marked
  // so); enabling it switches it on as Windows does and leaves the file where it is.

  std::vector<StartupItem> getEntries() override;
  void enableEntry(StartupItem& item) override;
  void disableEntry(StartupItem& item) override;
  void deleteEntry(StartupItem& item) override;
  // Enable, disable, delete and add throw AutostartDatabaseException when not working.
  // Creates a shortcut named as the item (formatEntry first) that starts the item's data;
  // Windows' switch for it is switched on as for a registry entry.
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

  std::string _failureReason;
  std::string _folder;
  int _type;
  std::string _backupFolder;
  bool _working = true;
  std::optional<StartupApproved> _approved;
};

}  // namespace products::stelmar::database
