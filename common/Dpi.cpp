#include "common/Dpi.h"

#include "common/Unique.h"

namespace dpi {

namespace {

// DPI_AWARENESS_CONTEXT values, which older headers lack.
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int kProcessPerMonitor = 2;  // PROCESS_PER_MONITOR_DPI_AWARE
constexpr UINT kSpiGetIconTitleLogFont = SPI_GETICONTITLELOGFONT;
constexpr UINT kMonitorEffectiveDpi = 0;

template <typename F>
F User32(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// shcore.dll (Windows 8.1 and later) stays loaded for the life of the process once used.
HMODULE ShcoreModule() {
  static const HMODULE shcore = LoadLibraryA("shcore.dll");
  return shcore;
}

template <typename F>
F Shcore(const char* name) {
  HMODULE shcore = ShcoreModule();
  return shcore ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(shcore, name))) : nullptr;
}

int ScreenDpi() {
  const win::WindowDc screen(nullptr);
  const int value = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return value > 0 ? value : kDefault;
}

int MonitorDpi(HMONITOR monitor) {
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  if (monitor) {
    if (const auto getDpi = Shcore<GetDpiForMonitorFn>("GetDpiForMonitor")) {
      UINT x = 0, y = 0;
      if (SUCCEEDED(getDpi(monitor, kMonitorEffectiveDpi, &x, &y)) && y > 0) return static_cast<int>(y);
    }
  }
  return System();
}

// A font of the system's (described at the system's DPI) moved to another DPI.
HFONT FontAt(LOGFONTA font, int fromDpi, int dpi) {
  font.lfHeight = MulDiv(font.lfHeight, dpi, fromDpi);
  return CreateFontIndirectA(&font);
}

}  // namespace

void DeclareAwareness() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  if (const auto setContext = User32<SetContextFn>("SetProcessDpiAwarenessContext")) {
    if (setContext(kPerMonitorV2) || setContext(kPerMonitor)) return;
    if (GetLastError() == ERROR_ACCESS_DENIED) return;  // the manifest has set it already
  }
  using SetAwarenessFn = HRESULT(WINAPI*)(int);
  if (const auto setAwareness = Shcore<SetAwarenessFn>("SetProcessDpiAwareness")) {
    const HRESULT result = setAwareness(kProcessPerMonitor);
    if (SUCCEEDED(result) || result == E_ACCESSDENIED) return;
  }
  using SetAwareFn = BOOL(WINAPI*)();
  if (const auto setAware = User32<SetAwareFn>("SetProcessDPIAware")) setAware();
}

int System() {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  if (const auto getDpi = User32<GetDpiForSystemFn>("GetDpiForSystem")) {
    const UINT value = getDpi();
    if (value > 0) return static_cast<int>(value);
  }
  return ScreenDpi();
}

int ForWindow(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  if (window) {
    if (const auto getDpi = User32<GetDpiForWindowFn>("GetDpiForWindow")) {
      const UINT value = getDpi(window);
      if (value > 0) return static_cast<int>(value);
    }
    return MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
  }
  return System();
}

int ForPoint(POINT screen) { return MonitorDpi(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST)); }

int Metric(int index, int dpi) {
  using ForDpiFn = int(WINAPI*)(int, UINT);
  if (const auto metric = User32<ForDpiFn>("GetSystemMetricsForDpi")) return metric(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, System());
}

HFONT CreateIconTitleFont(int dpi) {
  using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  LOGFONTW wide{};
  if (const auto info = User32<ForDpiFn>("SystemParametersInfoForDpi")) {
    if (info(kSpiGetIconTitleLogFont, sizeof wide, &wide, 0, static_cast<UINT>(dpi))) return CreateFontIndirectW(&wide);
  }
  LOGFONTA font{};
  if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) return nullptr;
  return FontAt(font, System(), dpi);
}

HFONT CreateMessageFont(int dpi) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return FontAt(metrics.lfMessageFont, System(), dpi);
}

HFONT CreatePointFont(const char* face, int points, int dpi, int weight) {
  return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

SIZE WindowSizeFor(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  RECT frame = {0, 0, width, height};
  using ForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto adjust = User32<ForDpiFn>("AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void ApplySuggestedRect(HWND window, LPARAM lParam) {
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  if (!suggested) return;
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace dpi
