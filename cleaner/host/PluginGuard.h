// Guarded calls into a binary plug-in and guarded reads of its records: a plug-in that
// faults comes back here as a failure instead of ending the host.
#pragma once

#include <windows.h>

#include <cstddef>

namespace pluginguard {

// Runs `body(context)` behind an exception frame of its own. False when an exception left
// the body unhandled: `code` then holds the exception's code, and the body's frames are
// abandoned (not unwound). The 32-bit build guards; the 64-bit build, used only for
// development, calls unguarded.
bool Call(void (*body)(void*), void* context, DWORD& code);

template <typename Body>
bool Call(Body& body, DWORD& code) {
  return Call([](void* context) { (*static_cast<Body*>(context))(); }, &body, code);
}

// Whether [address, address + size) lies in committed memory that can be read (or written)
// without a fault: no page without access, no guard page.
bool Readable(const void* address, std::size_t size);
bool Writable(void* address, std::size_t size);

// Copies `size` bytes; false, having copied nothing usable, when the memory is not
// readable (writable) or the copy faults.
bool Read(const void* address, void* out, std::size_t size);
bool Write(void* address, const void* in, std::size_t size);

}  // namespace pluginguard
