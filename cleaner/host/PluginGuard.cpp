#include "cleaner/host/PluginGuard.h"

#include <cstdint>
#include <cstring>

namespace pluginguard {

namespace {

constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
constexpr DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

bool Accessible(const void* address, std::size_t size, DWORD wanted) {
  std::uintptr_t at = reinterpret_cast<std::uintptr_t>(address);
  if (!at) return false;
  const std::uintptr_t end = at + size;
  if (end < at) return false;
  while (at < end) {
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof region) != sizeof region) return false;
    if (region.State != MEM_COMMIT || (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) ||
        !(region.Protect & wanted))
      return false;
    at = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
  }
  return true;
}

#if defined(__i386__)
// An exception registration of our own on the thread's chain (the chain's head is the first
// word of the thread information block). Exceptions that the plug-in does not handle reach
// it; its handler resumes in Call, which drops every registration made since.
struct GuardFrame {
  EXCEPTION_REGISTRATION_RECORD record;  // first: the dispatcher hands its address back
  void* resume[5];
  DWORD code;
};

EXCEPTION_DISPOSITION NTAPI Handler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT*, void*) {
  if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  GuardFrame* frame = static_cast<GuardFrame*>(establisher);
  frame->code = exception->ExceptionCode;
  __builtin_longjmp(frame->resume, 1);
}

EXCEPTION_REGISTRATION_RECORD* ChainHead() {
  EXCEPTION_REGISTRATION_RECORD* head;
  __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

void SetChainHead(EXCEPTION_REGISTRATION_RECORD* head) { __asm__ volatile("movl %0, %%fs:0" : : "r"(head) : "memory"); }
#endif

}  // namespace

#if defined(__i386__)
__attribute__((noinline)) bool Call(void (*body)(void*), void* context, DWORD& code) {
  GuardFrame frame;
  frame.code = 0;
  frame.record.Handler = Handler;
  frame.record.Next = ChainHead();
  if (__builtin_setjmp(frame.resume)) {
    SetChainHead(frame.record.Next);
    code = frame.code;
    return false;
  }
  SetChainHead(&frame.record);
  body(context);
  SetChainHead(frame.record.Next);
  return true;
}
#else
bool Call(void (*body)(void*), void* context, DWORD& code) {
  code = 0;
  body(context);
  return true;
}
#endif

bool Readable(const void* address, std::size_t size) { return Accessible(address, size, kReadable); }

bool Writable(void* address, std::size_t size) { return Accessible(address, size, kWritable); }

bool Read(const void* address, void* out, std::size_t size) {
  if (!Readable(address, size)) return false;
  DWORD code = 0;
  auto copy = [&] { std::memcpy(out, address, size); };
  return Call(copy, code);
}

bool Write(void* address, const void* in, std::size_t size) {
  if (!Writable(address, size)) return false;
  DWORD code = 0;
  auto copy = [&] { std::memcpy(address, in, size); };
  return Call(copy, code);
}

}  // namespace pluginguard
