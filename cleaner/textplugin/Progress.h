// Progress of the long work of one run (counting at start-up, cleaning), reported by the
// host and the text plug-in engine as it goes and shown by whichever window listens. With
// no listener (quiet mode) every report is a no-op.
//
// Everything runs on the user-interface thread, as plug-in calls must: a listener keeps its
// windows responsive by handling pending messages when it is told the work goes on.
#pragma once

#include <string>

namespace progress {

class Listener {
 public:
  virtual ~Listener() = default;
  // A plug-in file or item is being loaded and counted.
  virtual void Counting(const std::string& name) = 0;
  // The `index`th (from 0) of `count` ticked items starts cleaning; `files` and `bytes` are
  // what the items before it removed.
  virtual void Cleaning(std::size_t index, std::size_t count, const std::string& caption, long long files,
                        long long bytes) = 0;
  // The work goes on (called for every object a walk meets, so it must be cheap).
  virtual void Working() = 0;
};

// The listener for this thread's work until it is set again; null for none.
void Listen(Listener* listener);

void Counting(const std::string& name);
void Cleaning(std::size_t index, std::size_t count, const std::string& caption, long long files, long long bytes);
void Working();

}  // namespace progress
