#include "tests/harness/ScratchRegistry.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

namespace harness {

namespace {
constexpr const char* kRoot = "Software\\VarnickTests";
}

ScratchRegistry::ScratchRegistry(Hives hives) {
  static unsigned counter = 0;
  path_ = std::string(kRoot) + "\\scratch" + std::to_string(GetCurrentProcessId()) + "_" +
          std::to_string(++counter);
  const auto create = [this](const char* name, win::UniqueKey& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, (path_ + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                           nullptr, key.put(), nullptr) == ERROR_SUCCESS;
  };
  ok_ = create("\\user", user_) && RegOverridePredefKey(HKEY_CURRENT_USER, user_.get()) == ERROR_SUCCESS;
  if (ok_ && hives == Hives::kUserAndMachine)
    ok_ = create("\\machine", machine_) &&
          RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_.get()) == ERROR_SUCCESS;
  if (!ok_) ADD_FAILURE() << "the scratch registry keys under " << path_ << " could not be set up";
}

ScratchRegistry::~ScratchRegistry() {
  if (machine_) RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  machine_.reset();
  user_.reset();
  SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
  // The common parent goes with the last scratch key (refused while others remain).
  RegDeleteKeyA(HKEY_CURRENT_USER, kRoot);
}

}  // namespace harness
