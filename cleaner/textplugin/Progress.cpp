#include "cleaner/textplugin/Progress.h"

namespace progress {

namespace {
Listener* g_listener = nullptr;
}

void Listen(Listener* listener) { g_listener = listener; }

void Counting(const std::string& name) {
  if (g_listener) g_listener->Counting(name);
}

void Cleaning(std::size_t index, std::size_t count, const std::string& caption, long long files, long long bytes) {
  if (g_listener) g_listener->Cleaning(index, count, caption, files, bytes);
}

void Working() {
  if (g_listener) g_listener->Working();
}

}  // namespace progress
