// stelmar's start-up: common controls, the message handler and assertion reporter, the
// program folder as current directory (and the one running copy per folder), COM, the
// configuration, the sign-up prompt, the stores, the system report, and the main dialog.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <string>

#include "common/Dpi.h"
#include "common/Unique.h"
#include "startup/StartupReportSource.h"
#include "startup/StartupStores.h"
#include "startup/platform/errorresources/ApplicationReporter.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemInformation.h"
#include "startup/ui/MessageBoxHandler.h"
#include "startup/ui/SignupDialog.h"
#include "startup/ui/StelmarDlg.h"
#include "startup/ui/StelmarModel.h"
#include "startup/windows/file/WindowsFileHelper.h"
#include "startup/windows/info/InfoHelper.h"
#include "startup/util/config/ConfigImpl.h"
#include "startup/util/config/ScrambledConfigFile.h"

namespace {

using namespace products::stelmar;
using namespace products::stelmar::ui;

const char* const CONFIG_PARSE_FAILED = "Error while parsing the configfile:\n";

// Balances the COM initialisation of this thread.
struct ComScope {
  ComScope() : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialised) CoUninitialize();
  }
  bool initialised;
};

// The sign-up prompt's texts go to the program's message boxes.
class SignUpMessages : public util::newsletter::SignUpMessages {
 public:
  explicit SignUpMessages(MessageBoxHandler& handler) : _handler(handler) {}
  void handleInformation(const std::string& text) override { _handler.handleInformation(text); }
  void handleError(const std::string& text) override { _handler.handleError(text); }

 private:
  MessageBoxHandler& _handler;
};

struct FindCopy {
  const char* tag;
  HWND found;
};

BOOL CALLBACK findCopy(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<FindCopy*>(context);
  if (!GetPropA(window, search->tag)) return TRUE;
  search->found = window;
  return FALSE;
}

// Brings the window of the copy that runs from the same folder to the front.
void showRunningCopy(const std::string& tag) {
  FindCopy search{tag.c_str(), nullptr};
  EnumWindows(findCopy, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return;
  if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
  SetForegroundWindow(search.found);
}

void run(MessageBoxHandler& handler, errorresources::ApplicationReporter& reporter) {
  const std::string folder = windows::file::WindowsFileHelper::getProgramDirectory();
  windows::file::WindowsFileHelper::setCurrentDirectory(folder);

  // Two copies would each rewrite "stelmar.dat" from their own memory and lose each other's
  // disabled entries: one copy runs per program folder.
  const std::string instance = instanceMutexName(folder);
  win::UniqueHandle mutex(CreateMutexA(nullptr, FALSE, instance.c_str()));
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    showRunningCopy(instance);
    return;
  }

  ComScope com;
  util::config::ScrambledConfigFile configFile;
  std::unique_ptr<util::config::ConfigImpl> config;
  // A first start has no configuration file yet: it starts with an empty one and no prompt.
  if (GetFileAttributesA(util::config::ConfigImpl::FILE_NAME) != INVALID_FILE_ATTRIBUTES) {
    config = std::make_unique<util::config::ConfigImpl>(
        util::config::ConfigImpl::FILE_NAME, util::config::ConfigImpl::FROM_FILE, configFile,
        configFile);
    SignUpMessages messages(handler);
    offerSignup(*config, nullptr, PRODUCT_NAME, messages);
  }

  const bool nt = windows::info::InfoHelper::isWindowsNT();
  const bool windows64 = windows::info::InfoHelper::isWindows64();
  StartupStores stores(handler, nt, windows64);
  StartupReportSource source(stores.getInterface());
  reporter.setHeader(errorresources::systemReport(PRODUCT_NAME, VERSION, source));

  StelmarDlg dialog(handler, stores.getInterface(), nt, instance, windows64);
  dialog.run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  dpi::DeclareAwareness();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES |
                                                     ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  MessageBoxHandler handler(PRODUCT_NAME);
  errorresources::ApplicationReporter reporter(
      PRODUCT_NAME, VERSION, [&handler](const std::string& text) { handler.handleError(text); });
  errorresources::setAssertionReporter(&reporter);
  try {
    run(handler, reporter);
  } catch (const util::config::ParseException& e) {
    handler.handleError(CONFIG_PARSE_FAILED + e.getMessage());
  } catch (const util::config::KeyDoesNotExistException& e) {
    handler.handleError(CONFIG_PARSE_FAILED + e.getMessage());
  } catch (const exceptions::Exception& e) {
    handler.handleError(e.getMessage());
  } catch (...) {
    STELMAR_ASSERT(false);
  }
  errorresources::setAssertionReporter(nullptr);
  return 0;
}
