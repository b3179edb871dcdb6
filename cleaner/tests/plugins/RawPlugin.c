/* A plug-in that knows nothing of the project: no shared header, only the documented
   32-bit layout, written byte by byte at its offsets. What the host reads from it proves
   the layout of the shipped interface, not merely agreement with our own header.

   DLLInfo (16 bytes): module @0, itemCount @4, items @8, next @12.
   DLLItem (352 bytes): title @0 (50), description @50 (258), sizeFound @308, countFound
   @316, sizeCleaned @324, countCleaned @332 (signed 64-bit), icon @340, CleanProc @344,
   ConfigProc @348. */
#include <windows.h>
#include <string.h>

static unsigned char info[16];
static unsigned char item[352];
static void* table[1];
static HICON icon;
static char logPath[MAX_PATH];

static void Put32(unsigned char* record, int offset, const void* value) { memcpy(record + offset, value, 4); }
static void Put64(unsigned char* record, int offset, long long value) { memcpy(record + offset, &value, 8); }

static void Log(const char* line) {
  HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
  DWORD written;
  if (file == INVALID_HANDLE_VALUE) return;
  WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
  CloseHandle(file);
}

static void __cdecl CleanItem(void) {
  Put64(item, 324, 6000000000LL);
  Put64(item, 332, 4294967301LL);
  Log("raw clean\r\n");
}

static void __cdecl ConfigureItem(void) { Log("raw configure\r\n"); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    char* slash;
    Put32(info, 0, &instance);
    GetModuleFileNameA(instance, logPath, MAX_PATH - 8);
    slash = strrchr(logPath, '\\');
    strcpy(slash ? slash + 1 : logPath, "raw.log");
  }
  return TRUE;
}

/* The icon the plug-in handed over, so a test can compare what the host read. */
HICON __cdecl RawPluginIcon(void) { return icon; }

void* __cdecl GetDLLInfo(void) {
  static const BYTE andMask[32] = {0};
  static const BYTE xorMask[32] = {0};
  const int count = 1;
  void* const items = table;
  const void* const clean = (const void*)CleanItem;
  const void* const configure = (const void*)ConfigureItem;
  const unsigned int notTheHosts = 0xDEADBEEFu;
  if (!icon) icon = CreateIcon(NULL, 16, 16, 1, 1, andMask, xorMask);
  memset(item, 0, sizeof item);
  strcpy((char*)item, "Raw records");
  strcpy((char*)item + 50, "An item laid out from the offsets alone.");
  Put64(item, 308, 5368709120LL); /* 5 GiB */
  Put64(item, 316, 4294967297LL); /* 2^32 + 1 */
  Put32(item, 340, &icon);
  Put32(item, 344, &clean);
  Put32(item, 348, &configure);
  table[0] = item;
  Put32(info, 4, &count);
  Put32(info, 8, &items);
  Put32(info, 12, &notTheHosts); /* the host owns this link and must overwrite it */
  Log("raw load\r\n");
  return info;
}
