// Loading and unloading of binary plug-ins (*.vkp beside the program). Every call into a
// plug-in and every read of its records is guarded: a plug-in that faults is unloaded, the
// fault handler is told its file name, and the host goes on with the others.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cleaner/plugin-api/PluginApi.h"

namespace binaryplugins {
// Told to the user (no box in quiet mode) when a plug-in faults; %s is its file name.
constexpr const char* kFaultMessage = "The plug-in %s caused an error and has been unloaded. Varnick goes on without it.";
std::string FaultMessage(const std::string& fileName);
// More items than this in one table is taken for a damaged record.
constexpr int kMostItems = 65536;
}  // namespace binaryplugins

class DLLList;

// One loaded plug-in as the host keeps it: its file, the handle it was loaded through, its
// record and the item addresses read from its table once.
class BinaryPlugin {
 public:
  BinaryPlugin(DLLList& owner, std::string fileName, HMODULE module)
      : owner_(owner), fileName_(std::move(fileName)), module_(module) {}
  const std::string& fileName() const { return fileName_; }
  DLLInfo* info() const { return info_; }
  const std::vector<DLLItem*>& items() const { return items_; }
  // False once the plug-in faulted: it is unloaded and never called or read again.
  bool healthy() const { return module_ != nullptr; }

  // Copies one item record; false (the plug-in then unloaded) when it cannot be read.
  bool ReadItem(const DLLItem* item, DLLItem& copy);
  // Calls a callback of the plug-in; false when the plug-in is gone or faults in it.
  bool Call(void(__cdecl* callback)(void));

 private:
  friend class DLLList;
  // Calls GetDLLInfo and reads the record and its item table.
  bool Load(GetDLLInfoFn getInfo);
  void Fault();

  DLLList& owner_;
  std::string fileName_;
  HMODULE module_;
  DLLInfo* info_ = nullptr;
  std::vector<DLLItem*> items_;
};

// The loaded plug-ins in load order; their records are chained through each DLLInfo's
// next field as well.
class DLLList {
 public:
  DLLList() = default;
  DLLList(const DLLList&) = delete;
  DLLList& operator=(const DLLList&) = delete;
  ~DLLList() { UnloadAll(); }

  // Told the file name of a plug-in that faulted and was unloaded.
  void SetFaultHandler(std::function<void(const std::string& fileName)> handler) { onFault_ = std::move(handler); }

  // Loads `folder` + `fileName`; a file that fails to load, lacks "_GetDLLInfo" or
  // offers null is left out silently.
  void LoadBinaryPlugin(const std::string& folder, const std::string& fileName);
  // Every "*.vkp" of `folder`, in sorted order.
  void LoadAll(const std::string& folder);
  // Unloads in load order, each through the handle it was loaded with. Every item object
  // of the plug-ins must be gone by then.
  void UnloadAll();

  // The first loaded plug-in's record, the head of the chain.
  DLLInfo* head() const;
  const std::vector<std::unique_ptr<BinaryPlugin>>& plugins() const { return plugins_; }

 private:
  friend class BinaryPlugin;
  // Writes the chain links: each loaded plug-in's next field names the following one.
  void Relink();
  void Faulted(BinaryPlugin& plugin);

  std::vector<std::unique_ptr<BinaryPlugin>> plugins_;
  std::function<void(const std::string&)> onFault_;
};
