// Speed of the text plug-in walks against a minimal walk that lists each folder once
// (one path buffer, no allocation, nothing else). Not a test; run-walk-bench.sh beside it
// builds the tree (100,000 files in 3,500 folders) and runs it under Wine. Modes:
//   walk_bench build <folder>                         makes the tree (slow under Wine)
//   walk_bench count <folder> <repetitions> [mask]    times both counting walks, alternating
//   walk_bench delete engine|minimal|checked <folder> [mask]
//                                                     times one deletion walk (the engine's
//                                                     after its count, which is not timed;
//                                                     "checked" is the minimal walk that opens
//                                                     each file and reads what it opened before
//                                                     deleting it through that handle)
//   walk_bench program <folder> [minimal|checked]     the minimal whole program: counts, then
//                                                     deletes, as "morvel /q" would
//   walk_bench memory <empty folder> <folder>         peak working set of a count that keeps
//                                                     what it saw, over that of an empty one
// The benchmark runs on the 64-bit build only, never on the older systems the programs
// support: the checked walk uses the handle calls of Windows Vista.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cleaner/textplugin/Diskscan.h"

namespace {

constexpr int kTopFolders = 50;
constexpr int kSubFolders = 69;  // per top folder: 50 + 50 * 69 = 3,500 folders
constexpr int kFolders = kTopFolders + kTopFolders * kSubFolders;
constexpr int kFiles = 100000;
const char* mask = "*.*";

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string FolderOf(const std::string& root, int index) {
  // Folders 0..49 are the top folders, the rest lie below them.
  if (index < kTopFolders) return root + "t" + std::to_string(index) + "\\";
  const int sub = index - kTopFolders;
  return root + "t" + std::to_string(sub % kTopFolders) + "\\s" + std::to_string(sub / kTopFolders) + "\\";
}

bool BuildTree(const std::string& root) {
  CreateDirectoryA(root.c_str(), nullptr);
  for (int i = 0; i < kFolders; ++i)
    if (!CreateDirectoryA(FolderOf(root, i).c_str(), nullptr)) return false;
  const char data[16] = "benchmark file.";
  for (int i = 0; i < kFiles; ++i) {
    const std::string path = FolderOf(root, i % kFolders) + "file" + std::to_string(i) + ".tmp";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, data, static_cast<DWORD>(1 + i % 16), &written, nullptr);
    CloseHandle(file);
  }
  return true;
}

// The minimal walks: one listing of everything per folder, files counted or deleted as
// they come, subfolders entered as they come. Nothing else: no length checks, and the
// mask only when it is not "*.*", by the same matcher as the engine's.
char minimalPath[MAX_PATH];
long long minimalEntries = 0;
bool everything = true;
const textentries::CaseFold fold = textentries::AsciiCaseFold();

bool checked = false;

// The least a delete can do when it checks the object it opened: open without following a
// link, one query of the handle, the delete through the handle.
bool DeleteChecked(const char* path) {
  HANDLE file = CreateFileA(path, DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILE_STANDARD_INFO standard{};
  FILE_DISPOSITION_INFO disposition{TRUE};
  const bool deleted = GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) &&
                       !standard.Directory &&
                       SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
  CloseHandle(file);
  return deleted;
}

template <bool Deleting>
void MinimalWalk(std::size_t at) {
  WIN32_FIND_DATAA data;
  std::memcpy(minimalPath + at, "*", 2);
  HANDLE find = FindFirstFileA(minimalPath, &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(data.dwFileAttributes & 0x1014)) {
      if (!everything && !textentries::MatchesMask(data.cFileName, mask, fold)) continue;
      if (!Deleting) {
        ++minimalEntries;
        continue;
      }
      std::strcpy(minimalPath + at, data.cFileName);
      if (checked ? DeleteChecked(minimalPath) : DeleteFileA(minimalPath)) ++minimalEntries;
      continue;
    }
    if ((data.dwFileAttributes & 0x410) != 0x10 || data.cFileName[0] == '.') continue;
    const std::size_t n = std::strlen(data.cFileName);
    std::memcpy(minimalPath + at, data.cFileName, n);
    minimalPath[at + n] = '\\';
    minimalPath[at + n + 1] = 0;
    MinimalWalk<Deleting>(at + n + 1);
    if (Deleting) {
      minimalPath[at + n] = 0;
      RemoveDirectoryA(minimalPath);
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

long long RunMinimal(const std::string& root, bool deleting) {
  std::strcpy(minimalPath, root.c_str());
  minimalEntries = 0;
  if (deleting) {
    MinimalWalk<true>(root.size());
  } else {
    MinimalWalk<false>(root.size());
  }
  return minimalEntries;
}

deletion::FileSnapshot engineSeen;

// Counting keeps what it saw, as Prepare does; deleting takes what the last count kept.
long long RunEngine(const std::string& root, bool deleting) {
  textentries::SwitchSet switches;
  switches.subfolders = true;
  return deleting ? DeleteFolder(root.c_str(), mask, switches, engineSeen).entries
                  : CountFolder(root.c_str(), mask, switches, &engineSeen).entries;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The machine is shared: runs that other work slowed down scatter widely, so the fastest
// run of each walk is the figure compared; the medians are printed beside them.
void Report(const char* walk, const std::vector<double>& engine, const std::vector<double>& minimal) {
  const double e = *std::min_element(engine.begin(), engine.end());
  const double m = *std::min_element(minimal.begin(), minimal.end());
  std::printf("%s walk, fastest of %u runs: engine %.1f ms, minimal %.1f ms, engine/minimal %.3f (%+.1f %%)\n",
              walk, static_cast<unsigned>(engine.size()), e, m, e / m, 100.0 * (e - m) / m);
  std::printf("  medians: engine %.1f ms, minimal %.1f ms, engine/minimal %.3f\n", Median(engine),
              Median(minimal), Median(engine) / Median(minimal));
  std::printf("  engine runs:");
  for (double v : engine) std::printf(" %.1f", v);
  std::printf("\n  minimal runs:");
  for (double v : minimal) std::printf(" %.1f", v);
  std::printf("\n");
}

SIZE_T PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

int Memory(std::string empty, std::string root) {
  if (empty.back() != '\\') empty += '\\';
  if (root.back() != '\\') root += '\\';
  textentries::SwitchSet switches;
  switches.subfolders = true;
  CountFolder(empty.c_str(), mask, switches, &engineSeen);
  const SIZE_T before = PeakWorkingSet();
  const long long files = CountFolder(root.c_str(), mask, switches, &engineSeen).entries;
  const SIZE_T after = PeakWorkingSet();
  const double grown = static_cast<double>(after - before);
  std::printf("memory: %lld counted files in %u folders; peak working set %.1f MB -> %.1f MB, grown by %.1f MB "
              "(%.1f bytes a file)\n",
              files, static_cast<unsigned>(engineSeen.folderCount()), before / 1048576.0, after / 1048576.0,
              grown / 1048576.0, files ? grown / static_cast<double>(files) : 0.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: walk_bench build|count|delete|program|memory ...\n");
    return 2;
  }
  const std::string mode = argv[1];
  const bool deleting = mode == "delete" && argc > 3;
  if (deleting && argc > 4) mask = argv[4];
  if (mode == "count" && argc > 4) mask = argv[4];
  everything = std::strcmp(mask, "*.*") == 0;
  if (mode == "memory" && argc > 3) return Memory(argv[2], argv[3]);
  std::string root = argv[deleting ? 3 : 2];
  if (root.back() != '\\') root += '\\';
  if (mode == "build") return BuildTree(root) ? 0 : 1;
  if (mode == "program") {
    checked = argc > 3 && std::strcmp(argv[3], "checked") == 0;
    RunMinimal(root, false);
    return RunMinimal(root, true) >= 0 ? 0 : 1;
  }
  if (deleting) {
    const bool engineWalk = std::strcmp(argv[2], "engine") == 0;
    checked = std::strcmp(argv[2], "checked") == 0;
    if (engineWalk) RunEngine(root, false);  // the count before it, not timed
    const double start = Now();
    const long long deleted = engineWalk ? RunEngine(root, true) : RunMinimal(root, true);
    const double ms = Now() - start;
    std::printf("delete %s %.1f ms %lld files\n", argv[2], ms, deleted);
    return deleted > 0 ? 0 : 1;
  }
  if (mode != "count") {
    std::printf("usage: walk_bench build|count|delete ...\n");
    return 2;
  }
  const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  // One warm-up of each walk, then alternate which goes first.
  const long long expected = RunEngine(root, false);
  if (expected == 0 || RunMinimal(root, false) != expected) {
    std::printf("the walks did not find the same files\n");
    return 1;
  }
  std::vector<double> engine, minimal;
  for (int i = 0; i < 2 * repetitions; ++i) {
    const bool engineTurn = (i % 2 == 0) == (i / 2 % 2 == 0);
    const double start = Now();
    const long long found = engineTurn ? RunEngine(root, false) : RunMinimal(root, false);
    (engineTurn ? engine : minimal).push_back(Now() - start);
    if (found != expected) return 1;
  }
  Report((std::string("counting (") + mask + ")").c_str(), engine, minimal);
  return 0;
}
