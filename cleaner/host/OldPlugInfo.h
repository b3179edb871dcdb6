// A cleaning item of a binary plug-in. Reads the plug-in's record in place on every
// call: the record belongs to the plug-in and is never copied or freed here.
#pragma once

#include "cleaner/textplugin/PlugInfo.h"
#include "cleaner/plugin-api/PluginApi.h"

class OldPlugInfo final : public PlugInfo {
 public:
  explicit OldPlugInfo(DLLItem* item) : item_(item) {}
  long long GetSizeFound() override { return item_->sizeFound; }
  long long GetSizeCleaned() override { return item_->sizeCleaned; }
  long long GetCountFound() override { return item_->countFound; }
  long long GetCountCleaned() override { return item_->countCleaned; }
  HICON GetIcon() override { return item_->icon; }
  bool CanConfigure() override { return item_->ConfigProc != nullptr; }
  const char* GetTitle() override { return item_->title; }
  const char* GetDescription() override { return item_->description; }
  void Configure() override {
    if (item_->ConfigProc) item_->ConfigProc();
  }
  void Clean() override {
    if (item_->CleanProc) item_->CleanProc();
  }
  void Prepare() override {}

 private:
  DLLItem* item_;
};
