// Opening a web or file address in the user's browser.
#pragma once

#include <string>

namespace windows::internet {

// Hands the address (system code page) to the system's hyperlink navigation, which opens
// it in the user's browser and returns at once. COM must be initialised on the thread.
// Throws CouldNotLaunchInternetBrowserException.
void launchBrowser(const std::string& address);

}  // namespace windows::internet
