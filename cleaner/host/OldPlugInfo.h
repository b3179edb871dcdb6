// A cleaning item of a binary plug-in. Reads the plug-in's record afresh for every call,
// through a guarded copy: the record belongs to the plug-in and is never freed here. The
// text fields are taken up to their sizes, whether or not the plug-in ended them. Once the
// plug-in has faulted, the item keeps its last title and description and does nothing.
#pragma once

#include "cleaner/host/BinaryPlugins.h"
#include "cleaner/plugin-api/PluginApi.h"
#include "cleaner/textplugin/PlugInfo.h"

class OldPlugInfo final : public PlugInfo {
 public:
  OldPlugInfo(BinaryPlugin& plugin, DLLItem* item);
  long long GetSizeFound() override { return Refresh() ? copy_.sizeFound : 0; }
  long long GetSizeCleaned() override { return Refresh() ? copy_.sizeCleaned : 0; }
  long long GetCountFound() override { return Refresh() ? copy_.countFound : 0; }
  long long GetCountCleaned() override { return Refresh() ? copy_.countCleaned : 0; }
  HICON GetIcon() override { return Refresh() ? copy_.icon : nullptr; }
  bool CanConfigure() override { return Refresh() && copy_.ConfigProc != nullptr; }
  const char* GetTitle() override;
  const char* GetDescription() override;
  void Configure() override;
  void Clean() override;
  void Prepare() override {}

 private:
  // Copies the record; false when the plug-in is gone.
  bool Refresh();

  BinaryPlugin& plugin_;
  DLLItem* item_;
  DLLItem copy_{};
  char title_[DLLITEM_TITLE_SIZE + 1] = "";
  char description_[DLLITEM_DESCRIPTION_SIZE + 1] = "";
};
