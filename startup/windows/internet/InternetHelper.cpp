#include "startup/windows/internet/InternetHelper.h"

#include <windows.h>
#include <urlmon.h>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"

namespace windows::internet {

namespace {

const char* const CONVERSION_FAILED = "Error when trying to launch internet browser. \n\n";
const char* const LAUNCH_FAILED = "Error when trying to launch internet browser.\nTried to open:\n";

std::wstring toWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 0, L'\0');
  if (length <= 0 ||
      ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                            static_cast<int>(text.size()), &wide[0], length) != length) {
    throw CouldNotLaunchInternetBrowserException(
        CONVERSION_FAILED + SystemErrors::map(static_cast<int>(::GetLastError())));
  }
  return wide;
}

}  // namespace

void launchBrowser(const std::string& address) {
  const std::wstring target = toWide(address);
  // No frame, no bind context, no target frame: the address opens in the user's browser.
  const HRESULT result = ::HlinkNavigateString(nullptr, target.c_str());
  if (SUCCEEDED(result)) return;
  throw CouldNotLaunchInternetBrowserException(LAUNCH_FAILED + address + "\n\n" +
                                               SystemErrors::map(static_cast<int>(result)));
}

}  // namespace windows::internet
