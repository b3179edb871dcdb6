// Loading and unloading of binary plug-ins (*.vkp beside the program).
#pragma once

#include <string>
#include <vector>

#include "cleaner/plugin-api/PluginApi.h"

// The chain of loaded plug-ins, in load order, linked through each DLLInfo's next field.
class DLLList {
 public:
  DLLList() = default;
  DLLList(const DLLList&) = delete;
  DLLList& operator=(const DLLList&) = delete;
  ~DLLList() { UnloadAll(); }

  // Loads `folder` + `fileName`; a file that fails to load, lacks "_GetDLLInfo" or
  // offers null is left out silently.
  void LoadBinaryPlugin(const std::string& folder, const std::string& fileName);
  // Every "*.vkp" of `folder`, in sorted order.
  void LoadAll(const std::string& folder);
  // Unloads in load order. Every item object of the plug-ins must be gone by then.
  void UnloadAll();

  DLLInfo* head() const { return head_; }

 private:
  DLLInfo* head_ = nullptr;
  DLLInfo* tail_ = nullptr;
};
