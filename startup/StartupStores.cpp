#include "startup/StartupStores.h"

#include "startup/StartupConstants.h"

#include <windows.h>

namespace products::stelmar {

namespace {

// Upper case as Windows folds value and file names, through the system code page.
std::string foldAsWindows(const std::string& name) {
  if (name.empty()) return name;
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
  if (length <= 0) return name;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), length);
  ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  // Compared as UTF-16 units, two bytes each, highest first: the order stays total.
  std::string folded;
  for (wchar_t c : wide) {
    folded += static_cast<char>((c >> 8) & 0xFF);
    folded += static_cast<char>(c & 0xFF);
  }
  return folded;
}

}  // namespace

const char* const StartupStores::BACKUP_FILE_NAME = "stelmar.dat";
const char* const StartupStores::ALL_USERS_BACKUP_FOLDER = ".\\lmas\\";
const char* const StartupStores::USER_BACKUP_FOLDER = ".\\cuas\\";

StartupStores::StartupStores(ErrorHandler& errorHandler, bool isWindowsNT, bool windows64)
    : _backup(BACKUP_FILE_NAME),
      _recycle(std::string(BACKUP_FILE_NAME) + database::RecycleStore::SUFFIX),
      _allUsersAutostart(StartupConstants::LM_RUN_AUTOSTART, ALL_USERS_BACKUP_FOLDER, windows64,
                         &_recycle),
      _userAutostart(StartupConstants::CU_RUN_AUTOSTART, USER_BACKUP_FOLDER, windows64, &_recycle),
      _interface(errorHandler) {
  _interface.setRecycleStore(&_recycle);
  StartupItem::setNameFolder(foldAsWindows);
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
        std::make_unique<database::RegistryDatabase>(type, _backup, windows64, &_recycle));
    _interface.addDatabase(*_registryDatabases.back());
  }
  _interface.addDatabase(_allUsersAutostart);
  _interface.addDatabase(_userAutostart);
}

}  // namespace products::stelmar
