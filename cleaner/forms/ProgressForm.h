// The windows of long work. TWaitForm names the plug-in being loaded and counted at
// start-up; TProgressForm appears when a cleaning run has lasted about a second and shows
// the item being cleaned, what was removed so far and a bar by items. While either listens,
// the work hands pending messages to the windows now and then, so that they repaint and the
// system never calls the program "not responding".
#pragma once

#include <windows.h>

#include <string>

#include "cleaner/textplugin/Progress.h"
#include "common/Unique.h"

namespace progressform {

constexpr const char* kProgressClassName = "TProgressForm";
constexpr const char* kProgressTitle = "Varnick is cleaning...";
// Control ids of the progress window, for the tests that read it.
enum ControlId { kItemLabel = 200, kRemovedLabel, kBar };

// Hands the thread's pending messages to their windows, at most every few milliseconds.
// A quit request met on the way is put back for the main loop.
class Pump {
 public:
  void Run(bool now = false);

 private:
  DWORD last_ = 0;
};

class WaitForm final : public progress::Listener {
 public:
  WaitForm() = default;
  ~WaitForm() override;
  WaitForm(const WaitForm&) = delete;
  WaitForm& operator=(const WaitForm&) = delete;
  void Create(HINSTANCE instance, COLORREF colour);
  void Close();

  void Counting(const std::string& name) override;
  void Cleaning(std::size_t, std::size_t, const std::string&, long long, long long) override {}
  void Working() override { pump_.Run(); }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  void Paint();
  win::UniqueWindow window_;
  win::UniqueGdi brush_;
  win::UniqueGdi font_;
  std::string name_;
  int dpi_ = 96;
  Pump pump_;
};

class ProgressForm final : public progress::Listener {
 public:
  // `owner` is disabled while the window shows.
  ProgressForm(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
  ~ProgressForm() override;
  ProgressForm(const ProgressForm&) = delete;
  ProgressForm& operator=(const ProgressForm&) = delete;

  void Counting(const std::string&) override {}
  void Cleaning(std::size_t index, std::size_t count, const std::string& caption, long long files,
                long long bytes) override;
  void Working() override;

 private:
  static constexpr DWORD kShowAfterMs = 1000;
  void ShowIfLong();
  void Update();
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

  HINSTANCE instance_;
  HWND owner_;
  DWORD startMs_ = GetTickCount();
  win::UniqueWindow window_;
  win::UniqueGdi font_;
  std::size_t index_ = 0, count_ = 0;
  std::string caption_;
  long long files_ = 0, bytes_ = 0;
  Pump pump_;
};

}  // namespace progressform
