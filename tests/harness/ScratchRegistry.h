// The registry fixture of every Windows test program: HKEY_CURRENT_USER (and, unless told
// otherwise, HKEY_LOCAL_MACHINE) of this process point at fresh scratch keys while the
// object lives, so that no test touches keys that other tests or the user rely on. The
// scratch keys lie under HKEY_CURRENT_USER\Software\VarnickTests; the destructor undoes
// the overrides and deletes them.
#pragma once

#include <windows.h>

#include <string>

#include "common/Unique.h"

namespace harness {

class ScratchRegistry {
 public:
  enum class Hives { kUserAndMachine, kUserOnly };
  // A set-up that fails is reported as a failure of the running test.
  explicit ScratchRegistry(Hives hives = Hives::kUserAndMachine);
  ~ScratchRegistry();
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;
  bool ok() const { return ok_; }
  // The key that stands in for HKEY_CURRENT_USER, below the real one.
  std::string user() const { return path_ + "\\user"; }

 private:
  std::string path_;
  win::UniqueKey user_;
  win::UniqueKey machine_;
  bool ok_ = false;
};

}  // namespace harness
