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

// True while another copy holds the store's lock file.
bool lockHeld() {
  win::UniqueFile probe(CreateFileA(LOCK_FILE, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

// Brings the window of the copy that runs on the store to the front, waiting for it while
// that copy may still be starting. False when none shows; true, quietly, when that copy
// ended meanwhile (the store is free again: the user may start anew).
bool showRunningCopy(const std::string& tag, bool locked, DWORD waitMs) {
  constexpr DWORD POLL_MS = 100;
  FindCopy search{tag.c_str(), nullptr};
  for (DWORD waited = 0; waited <= waitMs; waited += POLL_MS) {
    EnumWindows(findCopy, reinterpret_cast<LPARAM>(&search));
    if (search.found) break;
    if (locked && !lockHeld()) return true;
    Sleep(POLL_MS);
  }
  if (!search.found) return false;
  if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
  SetForegroundWindow(search.found);
  return true;
}

// The name of the mark by which the copy that runs on a store tells a second copy of the
// same session that its window will show there.
std::string sessionMark(const std::string& tag) {
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  return "Global\\" + tag + ".Session" + std::to_string(session);
}

// A second copy: the first one's window comes to the front if it is of this session (it
// may still be starting, however slowly); otherwise the user is told why nothing opens.
void refuseSecondCopy(MessageBoxHandler& handler, const std::string& tag, bool locked) {
  constexpr DWORD MARK_WAIT_MS = 5000;
  constexpr DWORD WINDOW_WAIT_MS = 120000;
  constexpr DWORD POLL_MS = 100;
  const std::string mark = sessionMark(tag);
  bool sameSession = false;
  for (DWORD waited = 0; !sameSession && waited <= MARK_WAIT_MS; waited += POLL_MS) {
    sameSession = static_cast<bool>(win::UniqueHandle(OpenEventA(SYNCHRONIZE, FALSE, mark.c_str())));
    if (!sameSession) Sleep(POLL_MS);
  }
  if (!sameSession || !showRunningCopy(tag, locked, WINDOW_WAIT_MS))
    handler.handleInformation(ANOTHER_COPY_RUNS);
}

// The store's tag, from the identity of the program folder.
std::string storeTagOf(const std::string& folder) {
  win::UniqueFile handle(CreateFileA(folder.c_str(), 0,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle && GetFileInformationByHandle(handle.get(), &info))
    return storeTag(info.nFileIndexHigh, info.nFileIndexLow);
  return instanceMutexName(folder);
}

// What keeps this copy the only one on its store, for the program's life.
struct OneCopy {
  win::UniqueFile lock;
  win::UniqueHandle mutex;
  win::UniqueHandle mark;
};

void run(MessageBoxHandler& handler, errorresources::ApplicationReporter& reporter) {
  const std::string folder = windows::file::WindowsFileHelper::getProgramDirectory();
  windows::file::WindowsFileHelper::setCurrentDirectory(folder);

  // Two copies would each rewrite "stelmar.dat" from their own memory and lose each other's
  // disabled entries: one copy runs per store, whatever path or session started it. The
  // file system decides: the running copy holds a file of the folder open, unshared.
  const std::string tag = storeTagOf(folder);
  OneCopy one;
  one.lock.reset(CreateFileA(LOCK_FILE, GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!one.lock) {
    if (GetLastError() == ERROR_SHARING_VIOLATION) {
      refuseSecondCopy(handler, tag, true);
      return;
    }
    // A folder this user cannot write to: a mutex of the folder stands in for the lock.
    one.mutex.reset(CreateMutexA(nullptr, FALSE, ("Global\\" + tag).c_str()));
    if (!one.mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
      one.mutex.reset();
      refuseSecondCopy(handler, tag, false);
      return;
    }
  }
  one.mark.reset(CreateEventA(nullptr, TRUE, FALSE, sessionMark(tag).c_str()));

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

  StelmarDlg dialog(handler, stores.getInterface(), nt, tag, windows64);
  if (config && config->hasKey(ONLINE_INFO_KEY))
    dialog.setOnlineInfoAddress(config->getString(ONLINE_INFO_KEY));
  // What failed inside while the program started is summed up once the window shows.
  dialog.setShownHandler([&reporter] { reporter.releaseReports(); });
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
