#include "plugins/standard/ProtectedList.h"

#include <windows.h>

#include <cstdio>
#include <new>
#include <vector>

#include "plugins/standard/Rules.h"

namespace orvane {

const char* const kProtectedSection = "PROTECTED COOKIES";

namespace {
const char* const kMemoryErrorCaption = "Memory Error";
const char* const kLoadTooLargeText = "Not enough memory to load all protected cookies..";
const char* const kSaveNoMemoryText = "Not enough memory to write protected cookies list";
const char* const kEndValue = "-1";
constexpr std::size_t kKeySize = 33;
}  // namespace

ProtectedBlock NewProtectedBlock() {
  return ProtectedBlock(static_cast<char*>(std::calloc(kProtectedBlockSize, 1)));
}

void ShowMessageBox(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_OK);
}

ProtectedBlock LoadProtectedList(const std::string& file, MessageFn message) {
  ProtectedBlock block = NewProtectedBlock();
  if (!block) return block;
  ProtectedListBuilder builder(block.get());
  char key[kKeySize];
  char value[kPathSize];
  for (unsigned n = 1;; ++n) {
    std::snprintf(key, sizeof key, "%u", n);
    const DWORD length = GetPrivateProfileStringA(kProtectedSection, key, kEndValue, value,
                                                  sizeof value, file.c_str());
    const ProtectedListBuilder::Result result = builder.AddStored(std::string(value, length));
    if (result == ProtectedListBuilder::Result::Full) {
      message(kLoadTooLargeText, kMemoryErrorCaption);
      break;
    }
    if (result == ProtectedListBuilder::Result::End) break;
  }
  return block;
}

void SaveProtectedList(const std::string& file, const char* block, MessageFn message) {
  WritePrivateProfileSectionA(kProtectedSection, "\0", file.c_str());
  std::vector<std::string> names;
  try {
    names = ProtectedNames(block);
  } catch (const std::bad_alloc&) {
    message(kSaveNoMemoryText, kMemoryErrorCaption);
    return;
  }
  char key[kKeySize];
  unsigned n = 0;
  for (const std::string& name : names) {
    std::snprintf(key, sizeof key, "%u", ++n);
    WritePrivateProfileStringA(kProtectedSection, key, name.c_str(), file.c_str());
  }
}

}  // namespace orvane
