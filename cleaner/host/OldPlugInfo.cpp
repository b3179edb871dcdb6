#include "cleaner/host/OldPlugInfo.h"

#include <cstring>

namespace {
// A text field of the record, up to its size, as a terminated copy.
template <size_t N>
void CopyField(char (&to)[N + 1], const char (&from)[N]) {
  size_t length = 0;
  while (length < N && from[length]) ++length;
  std::memcpy(to, from, length);
  to[length] = '\0';
}
}  // namespace

OldPlugInfo::OldPlugInfo(BinaryPlugin& plugin, DLLItem* item) : plugin_(plugin), item_(item) { Refresh(); }

bool OldPlugInfo::Refresh() {
  DLLItem copy;
  if (!plugin_.ReadItem(item_, copy)) return false;
  copy_ = copy;
  CopyField<DLLITEM_TITLE_SIZE>(title_, copy_.title);
  CopyField<DLLITEM_DESCRIPTION_SIZE>(description_, copy_.description);
  return true;
}

const char* OldPlugInfo::GetTitle() {
  Refresh();
  return title_;
}

const char* OldPlugInfo::GetDescription() {
  Refresh();
  return description_;
}

void OldPlugInfo::Configure() {
  if (Refresh() && copy_.ConfigProc) plugin_.Call(copy_.ConfigProc);
}

void OldPlugInfo::Clean() {
  if (Refresh() && copy_.CleanProc) plugin_.Call(copy_.CleanProc);
}
