// The program morvel: a quiet run cleans without any window, otherwise the main window
// opens.
#include <windows.h>

#include <exception>

#include "cleaner/forms/Main.h"
#include "cleaner/host/Host.h"
#include "common/Dpi.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  dpi::DeclareAwareness();
  try {
    Host host(Host::ModuleFolder());
    host.ParseCommandLine(GetCommandLineA());
    if (host.quiet()) {
      host.RunQuiet();
      return 0;
    }
    return mainform::Run(host, instance);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), mainform::kAppTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
}
