// A library without the plug-in entry point.
#include <windows.h>

extern "C" __declspec(dllexport) int NotAPlugin() { return 1; }
