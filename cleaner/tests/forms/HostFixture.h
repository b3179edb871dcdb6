// The real host program in a fresh program folder, as its window tests start it, with the
// helpers for real mouse and key input and for reading its windows.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "cleaner/forms/MainIds.h"
#include "cleaner/forms/Ownerdrawbtn.h"
#include "tests/harness/Harness.h"

namespace hostfixture {

constexpr DWORD kTimeoutMs = 20000;

class HostWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::CopyFromBuild("morvel.exe", folder_.path())); }
  std::string Program() const { return "\"" + folder_.path() + "morvel.exe\""; }
  std::string Ini() const { return folder_ / "morvel.ini"; }
  HWND MainFormOf(const harness::Process& process) {
    return harness::WaitForWindow(mainform::kClassName, mainform::kTitle, process.id(), kTimeoutMs);
  }
  // The screen point of a list entry's caption.
  static POINT EntryPoint(HWND list, int index) {
    RECT rect{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    POINT at = {rect.left + 40, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &at);
    return at;
  }
  static bool ClickAt(POINT at) { return harness::MoveMouse(at) && harness::Xdotool("click 1"); }
  static unsigned StateOf(HWND button) {
    return static_cast<unsigned>(SendMessageA(button, ownerdrawbtn::kGetButtonState, 0, 0));
  }
  static bool WaitState(HWND button, unsigned state) {
    return harness::WaitUntil([&] { return StateOf(button) == state; }, kTimeoutMs);
  }
  harness::TempFolder folder_;
};

}  // namespace hostfixture
