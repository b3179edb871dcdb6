// The stores of the startup manager as the application makes them at start-up: the store
// of disabled registry entries on "stelmar.dat", one registry database per registry type
// (the RunServices types only on systems not of the NT family), the autostart databases of
// the all-users and the current user's folder with their backup folders, and the interface
// over them. Relative names rest on the current directory, which is the program's folder.
#pragma once

#include <memory>
#include <vector>

#include "startup/ErrorHandler.h"
#include "startup/StartupInterface.h"
#include "startup/database/AutostartDatabase.h"
#include "startup/database/RegistryBackup.h"
#include "startup/database/RecycleStore.h"
#include "startup/database/RegistryDatabase.h"

namespace products::stelmar {

class StartupStores {
 public:
  static const char* const BACKUP_FILE_NAME;         // "stelmar.dat"
  static const char* const ALL_USERS_BACKUP_FOLDER;  // ".\lmas\"
  static const char* const USER_BACKUP_FOLDER;       // ".\cuas\"

  // Throws CouldNotLoadFileException when "stelmar.dat" exists but cannot be read.
  // `windows64`: 64-bit Windows, where the machine's Run and RunOnce keys have a 32-bit view
  // as well (types 11 and 12) and the other machine keys are read in the native view.
  StartupStores(ErrorHandler& errorHandler, bool isWindowsNT, bool windows64 = false);
  StartupStores(const StartupStores&) = delete;
  StartupStores& operator=(const StartupStores&) = delete;

  StartupInterface& getInterface() { return _interface; }
  database::RegistryBackup& getBackup() { return _backup; }
  database::RecycleStore& getRecycleStore() { return _recycle; }

 private:
  database::RegistryBackup _backup;
  // "stelmar.dat.deleted": the entries the user deleted, kept to be restored.
  database::RecycleStore _recycle;
  std::vector<std::unique_ptr<database::RegistryDatabase>> _registryDatabases;
  database::AutostartDatabase _allUsersAutostart;
  database::AutostartDatabase _userAutostart;
  StartupInterface _interface;
};

}  // namespace products::stelmar
