// stelmar's start-up: common controls, the message handler and assertion reporter, the
// program folder as current directory (and the one running copy per folder), COM, the
// configuration, the sign-up prompt, the stores, the system report, and the main dialog.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <string>

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

// Brings the window of the copy that runs on the same store to the front. That copy may
// still be starting: its window is waited for a while. False when none shows (a copy of
// another session, or one that hangs).
bool showRunningCopy(const std::string& tag) {
  constexpr DWORD WAIT_FOR_WINDOW_MS = 10000;
  constexpr DWORD POLL_MS = 100;
  FindCopy search{tag.c_str(), nullptr};
  for (DWORD waited = 0; !search.found && waited <= WAIT_FOR_WINDOW_MS; waited += POLL_MS) {
    EnumWindows(findCopy, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(POLL_MS);
  }
  if (!search.found) return false;
  if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
  SetForegroundWindow(search.found);
  return true;
}

// The name of the one-copy mutex of the store in `folder`, from the folder's identity.
std::string storeMutex(const std::string& folder) {
  win::UniqueFile handle(CreateFileA(folder.c_str(), 0,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle && GetFileInformationByHandle(handle.get(), &info))
    return storeMutexName(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
  return std::string("Global\\") + instanceMutexName(folder);
}

void run(MessageBoxHandler& handler, errorresources::ApplicationReporter& reporter) {
  const std::string folder = windows::file::WindowsFileHelper::getProgramDirectory();
  windows::file::WindowsFileHelper::setCurrentDirectory(folder);

  // Two copies would each rewrite "stelmar.dat" from their own memory and lose each other's
  // disabled entries: one copy runs per store, whatever path or session started it.
  std::string instance = storeMutex(folder);
  win::UniqueHandle mutex(CreateMutexA(nullptr, FALSE, instance.c_str()));
  DWORD status = GetLastError();
  if (!mutex && status != ERROR_ACCESS_DENIED) {
    // No global namespace here: this session's own.
    instance = windowTag(instance);
    mutex.reset(CreateMutexA(nullptr, FALSE, instance.c_str()));
    status = GetLastError();
  }
  // Denied: the mutex is another user's.
  if (!mutex || status == ERROR_ALREADY_EXISTS) {
    if (!showRunningCopy(windowTag(instance))) handler.handleInformation(ANOTHER_COPY_RUNS);
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

  StelmarDlg dialog(handler, stores.getInterface(), nt, windowTag(instance), windows64);
  if (config && config->hasKey(ONLINE_INFO_KEY))
    dialog.setOnlineInfoAddress(config->getString(ONLINE_INFO_KEY));
  // What failed inside while the program started is summed up once the window shows.
  dialog.setShownHandler([&reporter] { reporter.releaseReports(); });
  dialog.run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES |
                                                     ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  MessageBoxHandler handler(PRODUCT_NAME);
  errorresources::ApplicationReporter reporter(
      PRODUCT_NAME, VERSION, [&handler](const std::string& text) { handler.handleError(text); });
  errorresources::setAssertionReporter(&reporter);
  reporter.holdReports();
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
  // A start that ended before the window showed still says what failed inside.
  reporter.releaseReports();
  errorresources::setAssertionReporter(nullptr);
  return 0;
}
