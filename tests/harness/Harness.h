// Test helpers shared by every Windows test program: temporary folders, files, a program
// folder with copies of the built programs and plug-ins, processes, and a driver for real
// windows (find a top-level window, read its controls, press buttons, wait for the end).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

// Folder of the running test program, with its trailing backslash; the built programs and
// plug-ins lie beside it.
std::string BuildFolder();

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // With the trailing backslash.
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

void RemoveTree(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
// Copies a file of the build folder into a folder, optionally under another name.
bool CopyFromBuild(const std::string& name, const std::string& folder,
                   const std::string& newName = std::string());

struct ProcessResult {
  bool ended = false;
  DWORD exitCode = 0;
};

class Process {
 public:
  // Starts `commandLine` (the program path first, quoted when needed).
  explicit Process(const std::string& commandLine, const std::string& currentFolder = "");
  ~Process();  // kills the process if it still runs
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  ProcessResult Wait(DWORD timeoutMs);

 private:
  PROCESS_INFORMATION info_{};
};

// Polls a condition until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Polls for a visible top-level window of a class and title owned by a process (0: any).
HWND WaitForWindow(const char* className, const char* title, DWORD processId, DWORD timeoutMs);
// Waits until no such window exists any more.
bool WaitWindowGone(HWND window, DWORD timeoutMs);

struct Control {
  HWND hwnd;
  int id;
  std::string className;
  std::string text;
};
std::vector<Control> Controls(HWND parent);
HWND FindControl(HWND parent, const std::string& text);
HWND FindControlById(HWND parent, int id);
std::string WindowText(HWND window);
// Texts of a list box of another process (read as UTF-16, which crosses processes).
std::vector<std::string> ListBoxItems(HWND listBox);
// Texts of a combo box's list of another process.
std::vector<std::string> ComboBoxItems(HWND comboBox);
// Presses a button by its text; posts the click so that a modal loop it starts does not
// block the test.
bool ClickButton(HWND parent, const std::string& text);
// Posts a key press (down and up) to a window, as the keyboard would deliver it.
void PressKey(HWND window, UINT virtualKey);

// Real input and screenshots through the X display that Wine draws on: the Linux tools
// are started by their Linux path, which Wine runs as Linux programs.
// Runs `/usr/bin/<tool> <arguments>` and waits for it; true when it ended with 0.
bool RunHostTool(const std::string& toolAndArguments, DWORD timeoutMs = 20000);
bool Xdotool(const std::string& arguments);
// Moves the real mouse pointer to a screen point (Windows and X coordinates agree).
bool MoveMouse(POINT screen);
POINT CentreOf(HWND window);
// The Linux path of a Windows path; empty when Wine cannot say.
std::string UnixPath(const std::string& windowsPath);

// A screenshot of a screen rectangle; pixels in the 0x00BBGGRR layout.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// Takes it with ImageMagick's import from the X display; empty on failure.
Screenshot TakeScreenshot(const RECT& screenRect);

}  // namespace harness
