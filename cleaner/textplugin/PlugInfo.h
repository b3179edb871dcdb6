// One cleaning item of the host, whatever plug-in it comes from. The slot order of the
// operations is fixed; the destructor comes last.
#pragma once

#include <windows.h>

class PlugInfo {
 public:
  virtual long long GetSizeFound() = 0;
  virtual long long GetSizeCleaned() = 0;
  virtual long long GetCountFound() = 0;
  virtual long long GetCountCleaned() = 0;
  virtual HICON GetIcon() = 0;
  virtual bool CanConfigure() = 0;
  // Never null: empty text instead.
  virtual const char* GetTitle() = 0;
  virtual const char* GetDescription() = 0;
  virtual void Configure() = 0;
  virtual void Clean() = 0;
  // Reads the item's definition and counts; called once, right after creation, for text
  // plug-ins only.
  virtual void Prepare() = 0;
  virtual ~PlugInfo() = default;
};
