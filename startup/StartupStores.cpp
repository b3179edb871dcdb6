#include "startup/StartupStores.h"

#include "startup/StartupConstants.h"

namespace products::stelmar {

const char* const StartupStores::BACKUP_FILE_NAME = "stelmar.dat";
const char* const StartupStores::ALL_USERS_BACKUP_FOLDER = ".\\lmas\\";
const char* const StartupStores::USER_BACKUP_FOLDER = ".\\cuas\\";

StartupStores::StartupStores(ErrorHandler& errorHandler, bool isWindowsNT, bool windows64)
    : _backup(BACKUP_FILE_NAME),
      _allUsersAutostart(StartupConstants::LM_RUN_AUTOSTART, ALL_USERS_BACKUP_FOLDER, windows64),
      _userAutostart(StartupConstants::CU_RUN_AUTOSTART, USER_BACKUP_FOLDER, windows64),
      _interface(errorHandler) {
  std::vector<int> types = {StartupConstants::LM_RUN_ALWAYS, StartupConstants::LM_RUN_ONCE,
                            StartupConstants::LM_RUN_ONCE_EX, StartupConstants::CU_RUN_ALWAYS,
                            StartupConstants::CU_RUN_ONCE};
  // The RunServices keys are read only by systems not of the NT family.
  if (!isWindowsNT) {
    types.push_back(StartupConstants::LM_RUN_SERVICE);
    types.push_back(StartupConstants::LM_RUN_SERVICE_ONCE);
  }
  if (windows64) {
    types.push_back(StartupConstants::LM_RUN_ALWAYS_32);
    types.push_back(StartupConstants::LM_RUN_ONCE_32);
  }
  for (int type : types) {
    _registryDatabases.push_back(
        std::make_unique<database::RegistryDatabase>(type, _backup, windows64));
    _interface.addDatabase(*_registryDatabases.back());
  }
  _interface.addDatabase(_allUsersAutostart);
  _interface.addDatabase(_userAutostart);
}

}  // namespace products::stelmar
