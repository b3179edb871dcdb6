#include "plugins/standard/ProtectedList.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "plugins/standard/Rules.h"

namespace orvane {

const char* const kProtectedSection = "PROTECTED COOKIES";

namespace {
const char* const kMemoryErrorCaption = "Memory Error";
const char* const kLoadNoMemoryText = "Not enough memory to load all protected cookies..";
const char* const kSaveNoMemoryText = "Not enough memory to write protected cookies list";
const char* const kEndValue = "-1";
constexpr std::size_t kKeySize = 33;

// One value of the section, whole: the buffer grows until the value fits with room to
// spare (a value that fills the buffer exactly may have been cut).
std::string ReadValue(const std::string& file, const char* key, std::vector<char>& buffer) {
  for (;;) {
    const DWORD length = GetPrivateProfileStringA(kProtectedSection, key, kEndValue, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), file.c_str());
    if (length + 1 < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}
}  // namespace

ProtectedBlock NewProtectedBlock() {
  return ProtectedBlock(new (std::nothrow) std::vector<char>(1, '\0'));
}

void ShowMessageBox(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_OK);
}

ProtectedBlock LoadProtectedList(const std::string& file, MessageFn message) {
  ProtectedBlock block;
  try {
    block = NewProtectedBlock();
    if (!block) return block;
    ProtectedListBuilder builder(*block);
    std::vector<char> value(kPathSize);
    char key[kKeySize];
    for (unsigned n = 1;; ++n) {
      std::snprintf(key, sizeof key, "%u", n);
      if (builder.AddStored(ReadValue(file, key, value)) == ProtectedListBuilder::Result::End) break;
    }
  } catch (const std::bad_alloc&) {
    // The builder keeps the block whole after every name: what was read stays usable.
    message(kLoadNoMemoryText, kMemoryErrorCaption);
  }
  return block;
}

void SaveProtectedList(const std::string& file, const char* block, MessageFn message) {
  // One write of the whole section, "1=name" line by line: the list never stands half
  // written, and a long list costs one rewrite of the file, not one per name.
  std::string section;
  try {
    unsigned n = 0;
    for (const std::string& name : ProtectedNames(block)) section += std::to_string(++n) + "=" + name + '\0';
    section += '\0';
  } catch (const std::bad_alloc&) {
    message(kSaveNoMemoryText, kMemoryErrorCaption);
    return;
  }
  WritePrivateProfileSectionA(kProtectedSection, section.data(), file.c_str());
}

}  // namespace orvane
