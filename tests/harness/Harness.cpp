#include "tests/harness/Harness.h"

#include <shlwapi.h>

#include <fstream>
#include <sstream>

namespace harness {

std::string BuildFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

TempFolder::TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::string(base) + "vk" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(GetTickCount()) + "_" + std::to_string(++counter) + "\\";
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = folder + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      // A link to a folder is removed, never followed.
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTree(full);
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(full.c_str());
      } else {
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyFromBuild(const std::string& name, const std::string& folder,
                   const std::string& newName) {
  return CopyFileA((BuildFolder() + name).c_str(),
                   (folder + (newName.empty() ? name : newName)).c_str(), FALSE) != FALSE;
}

Process::Process(const std::string& commandLine, const std::string& currentFolder) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup,
                      &info_)) {
    info_ = PROCESS_INFORMATION{};
  }
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

ProcessResult Process::Wait(DWORD timeoutMs) {
  ProcessResult result;
  if (!info_.hProcess) return result;
  if (WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    result.ended = true;
    GetExitCodeProcess(info_.hProcess, &result.exitCode);
  }
  return result;
}

namespace {

struct FindRequest {
  const char* className;
  const char* title;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param) {
  auto* request = reinterpret_cast<FindRequest*>(param);
  char cls[256] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (request->className && lstrcmpA(cls, request->className) != 0) return TRUE;
  if (request->title && WindowText(window) != request->title) return TRUE;
  if (!IsWindowVisible(window)) return TRUE;
  if (request->processId) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != request->processId) return TRUE;
  }
  request->found = window;
  return FALSE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto* controls = reinterpret_cast<std::vector<Control>*>(param);
  char cls[256] = "";
  GetClassNameA(window, cls, sizeof cls);
  controls->push_back({window, GetDlgCtrlID(window), cls, WindowText(window)});
  return TRUE;
}

}  // namespace

HWND WaitForWindow(const char* className, const char* title, DWORD processId,
                   DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    FindRequest request{className, title, processId, nullptr};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&request));
    if (request.found) return request.found;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(20);
  }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

bool WaitWindowGone(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(window)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

std::vector<Control> Controls(HWND parent) {
  std::vector<Control> controls;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

HWND FindControl(HWND parent, const std::string& text) {
  for (const Control& c : Controls(parent))
    if (c.text == text) return c.hwnd;
  return nullptr;
}

HWND FindControlById(HWND parent, int id) { return GetDlgItem(parent, id); }

std::string WindowText(HWND window) {
  char text[1024] = "";
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, &length);
  return std::string(text, static_cast<size_t>(length));
}

namespace {

std::string Narrow(const std::wstring& wide) {
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], n, nullptr, nullptr);
  text.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
  return text;
}

// Item texts of a list or combo box, asked for in UTF-16, which crosses processes.
std::vector<std::string> Items(HWND control, UINT getCount, UINT getLength, UINT getText) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(control, getCount, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(control, getLength, i, 0);
    if (length < 0) break;
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(control, getText, i, reinterpret_cast<LPARAM>(&wide[0]));
    wide.resize(static_cast<size_t>(length));
    items.push_back(Narrow(wide));
  }
  return items;
}

}  // namespace

std::vector<std::string> ListBoxItems(HWND listBox) {
  return Items(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::string> ComboBoxItems(HWND comboBox) {
  return Items(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

bool ClickButton(HWND parent, const std::string& text) {
  HWND button = FindControl(parent, text);
  if (!button) return false;
  return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

void PressKey(HWND window, UINT virtualKey) {
  const UINT scan = MapVirtualKeyA(virtualKey, 0);
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

bool RunHostTool(const std::string& toolAndArguments, DWORD timeoutMs) {
  // Wine gives no handle to wait on for a Linux process: a shell runs the tool and writes
  // its exit code into a file, which this polls for
  const TempFolder folder;
  const std::string done = folder / "done";
  const std::string unixDone = UnixPath(done);
  if (unixDone.empty()) return false;
  Process shell("\\\\?\\unix\\bin\\sh -c \"/usr/bin/" + toolAndArguments + "; echo $? > '" + unixDone +
                ".tmp'; mv '" + unixDone + ".tmp' '" + unixDone + "'\"");
  // (nor a process handle at all: `started()` cannot tell here)
  if (!WaitUntil([&] { return FileExists(done); }, timeoutMs)) return false;
  const std::string code = ReadTextFile(done);
  return !code.empty() && code[0] == '0';
}

bool Xdotool(const std::string& arguments) { return RunHostTool("xdotool " + arguments); }

bool MoveMouse(POINT screen) {
  return Xdotool("mousemove --sync " + std::to_string(screen.x) + " " + std::to_string(screen.y));
}

POINT CentreOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string UnixPath(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return "";
  wchar_t wide[MAX_PATH];
  if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH)) return "";
  char* unix = convert(wide);
  if (!unix) return "";
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

Screenshot TakeScreenshot(const RECT& screenRect) {
  Screenshot shot;
  const TempFolder folder;
  const std::string file = folder / "shot.ppm";
  const int width = screenRect.right - screenRect.left;
  const int height = screenRect.bottom - screenRect.top;
  const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" +
                           std::to_string(screenRect.left) + "+" + std::to_string(screenRect.top);
  if (width <= 0 || height <= 0 ||
      !RunHostTool("import -silent -window root -crop " + crop + " +repage -depth 8 ppm:" + UnixPath(file)))
    return shot;
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, maxValue = 0;
  in >> magic >> w >> h >> maxValue;
  in.get();
  if (magic != "P6" || w != width || h != height || maxValue != 255) return shot;
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
  if (!in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()))) return shot;
  shot.width = w;
  shot.height = h;
  shot.pixels.resize(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < shot.pixels.size(); ++i) shot.pixels[i] = RGB(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return shot;
}

}  // namespace harness
