// Fixtures of the store tests: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE pointed at scratch
// keys for the test's lifetime, a key nobody may write to, a file held open without sharing,
// and an error handler that records what it is given.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "startup/ErrorHandler.h"
#include "startup/StartupConstants.h"
#include "tests/harness/ScratchRegistry.h"

namespace storetests {

// Names every store test speaks in.
inline const char* const RUN = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const char* const RUN_ONCE = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr int CU_RUN = products::stelmar::StartupConstants::CU_RUN_ALWAYS;
inline constexpr int LM_RUN = products::stelmar::StartupConstants::LM_RUN_ALWAYS;
inline constexpr int ENABLED = products::stelmar::StartupConstants::ENABLED;
inline constexpr int DISABLED = products::stelmar::StartupConstants::DISABLED;

// Points HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process at two fresh scratch keys,
// and undoes it and deletes the scratch keys when destroyed.
using ScratchRegistry = harness::ScratchRegistry;

// Plain registry access for checking what the code under test did.
void SetValue(HKEY hive, const std::string& key, const std::string& name, DWORD type,
              const std::string& bytes);
void SetText(HKEY hive, const std::string& key, const std::string& name, const std::string& text);
struct Value {
  bool exists = false;
  DWORD type = REG_NONE;
  std::string bytes;
};
void DeleteValue(HKEY hive, const std::string& key, const std::string& name);
Value GetValue(HKEY hive, const std::string& key, const std::string& name);
std::vector<std::string> ValueNames(HKEY hive, const std::string& key);
// Gives a key the DACL "D:(A;;KR;;;WD)": everyone may read, nobody may write or delete.
void MakeReadOnly(HKEY hive, const std::string& key);
// Gives it back full access, so that it can be cleaned up.
void MakeWritable(HKEY hive, const std::string& key);

// Holds a file open with read sharing only: it can be neither written, replaced nor deleted.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

class RecordingErrorHandler : public products::stelmar::ErrorHandler {
 public:
  void handleError(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

// Sets the current directory for the fixture's lifetime.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::string& folder);
  ~CurrentDirectory() { restore(); }
  // Goes back to the folder that was current before; only once.
  void restore();

 private:
  std::string previous_;
};

}  // namespace storetests
