#include "common/deletion/FileDeletion.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/Unique.h"

namespace deletion {

namespace {

// --- The native file calls -------------------------------------------------------------
// Relative opens, listing through a handle and deleting through a handle are the native
// interface of every NT system; they are looked up at run time, so that the programs
// still load where they are missing (the older family walks by paths instead, below).

using NtStatus = LONG;

struct NtName {
  USHORT length;
  USHORT maximumLength;
  const wchar_t* buffer;
};
struct NtObject {
  ULONG length;
  HANDLE root;
  NtName* name;
  ULONG attributes;
  void* securityDescriptor;
  void* securityQos;
};
struct IoStatus {
  union {
    NtStatus status;
    void* pointer;
  };
  ULONG_PTR information;
};
// FILE_BOTH_DIR_INFORMATION, and FILE_ID_BOTH_DIR_INFORMATION with the file id.
struct BothDirEntry {
  ULONG next;
  ULONG fileIndex;
  LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime, endOfFile, allocationSize;
  ULONG attributes;
  ULONG nameBytes;
  ULONG eaSize;
  CCHAR shortNameLength;
  WCHAR shortName[12];
  WCHAR name[1];
};
struct IdBothDirEntry {
  ULONG next;
  ULONG fileIndex;
  LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime, endOfFile, allocationSize;
  ULONG attributes;
  ULONG nameBytes;
  ULONG eaSize;
  CCHAR shortNameLength;
  WCHAR shortName[12];
  LARGE_INTEGER fileId;
  WCHAR name[1];
};
struct BasicInfo {
  LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
  ULONG attributes;
};
struct StandardInfo {
  LARGE_INTEGER allocationSize, endOfFile;
  ULONG links;
  BOOLEAN deletePending, directory;
};

using CreateFn = NtStatus(NTAPI*)(HANDLE*, ACCESS_MASK, NtObject*, IoStatus*, LARGE_INTEGER*, ULONG,
                                  ULONG, ULONG, ULONG, void*, ULONG);
using QueryDirectoryFn = NtStatus(NTAPI*)(HANDLE, HANDLE, void*, void*, IoStatus*, void*, ULONG, int,
                                          BOOLEAN, NtName*, BOOLEAN);
using InformationFn = NtStatus(NTAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
using FinalPathFn = DWORD(WINAPI*)(HANDLE, wchar_t*, DWORD, DWORD);

constexpr int kBothDirectoryInformation = 3;
constexpr int kIdBothDirectoryInformation = 37;
constexpr int kBasicInformation = 4;
constexpr int kStandardInformation = 5;
constexpr int kInternalInformation = 6;
constexpr int kDispositionInformation = 13;
constexpr int kDispositionInformationEx = 64;
constexpr ULONG kDispositionDelete = 0x1;
constexpr ULONG kDispositionIgnoreReadOnly = 0x10;

constexpr ULONG kOpen = 1;
constexpr ULONG kDirectoryFile = 0x1;
constexpr ULONG kSynchronousIo = 0x20;
constexpr ULONG kNonDirectoryFile = 0x40;
constexpr ULONG kBackupIntent = 0x4000;
constexpr ULONG kOpenReparsePoint = 0x200000;

constexpr NtStatus kNoMoreFiles = static_cast<NtStatus>(0x80000006);
constexpr NtStatus kNotImplemented = static_cast<NtStatus>(0xC0000002);
constexpr NtStatus kInvalidInfoClass = static_cast<NtStatus>(0xC0000003);
constexpr NtStatus kInvalidParameter = static_cast<NtStatus>(0xC000000D);
constexpr NtStatus kNotFound = static_cast<NtStatus>(0xC0000034);
constexpr NtStatus kPathNotFound = static_cast<NtStatus>(0xC000003A);
constexpr NtStatus kNotSupported = static_cast<NtStatus>(0xC00000BB);

bool Unsupported(NtStatus status) {
  return status == kNotImplemented || status == kInvalidInfoClass || status == kInvalidParameter ||
         status == kNotSupported;
}

struct Native {
  CreateFn create = nullptr;
  QueryDirectoryFn queryDirectory = nullptr;
  InformationFn query = nullptr;
  InformationFn set = nullptr;
  FinalPathFn finalPath = nullptr;  // Windows Vista and later
  // Whether a delete may ignore the read-only mark (Windows 10 1809 and later); cleared
  // the first time the system says it cannot.
  bool ignoreReadOnly = true;
  bool ok() const { return create && queryDirectory && query && set; }
};

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

Native& Api() {
  static Native native = [] {
    Native n;
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    n.create = Lookup<CreateFn>(ntdll, "NtCreateFile");
    n.queryDirectory = Lookup<QueryDirectoryFn>(ntdll, "NtQueryDirectoryFile");
    n.query = Lookup<InformationFn>(ntdll, "NtQueryInformationFile");
    n.set = Lookup<InformationFn>(ntdll, "NtSetInformationFile");
    n.finalPath = Lookup<FinalPathFn>(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW");
    return n;
  }();
  return native;
}

// --- What a handle holds ---------------------------------------------------------------

struct Identity {
  DWORD attributes = 0;
  std::uint64_t id = 0;
  std::int64_t size = 0;
  std::uint64_t writeTime = 0;
};

bool QueryIdentity(HANDLE handle, Identity& identity, bool withSize) {
  IoStatus io{};
  BasicInfo basic{};
  LARGE_INTEGER id{};
  if (Api().query(handle, &io, &basic, sizeof basic, kBasicInformation) != 0) return false;
  if (Api().query(handle, &io, &id, sizeof id, kInternalInformation) != 0) return false;
  identity.attributes = basic.attributes;
  identity.id = static_cast<std::uint64_t>(id.QuadPart);
  identity.writeTime = static_cast<std::uint64_t>(basic.lastWriteTime.QuadPart);
  if (withSize) {
    StandardInfo standard{};
    if (Api().query(handle, &io, &standard, sizeof standard, kStandardInformation) != 0) return false;
    identity.size = standard.endOfFile.QuadPart;
  }
  return true;
}

// Opens `name` exactly as written, inside the folder of `folder`, never through a link.
NtStatus OpenRelative(HANDLE folder, const wchar_t* name, std::size_t length, ACCESS_MASK access,
                      ULONG share, ULONG options, win::UniqueFile& opened) {
  NtName ntName{static_cast<USHORT>(length * sizeof(wchar_t)), static_cast<USHORT>(length * sizeof(wchar_t)),
                name};
  NtObject object{sizeof object, folder, &ntName, 0, nullptr, nullptr};
  IoStatus io{};
  HANDLE handle = nullptr;
  const NtStatus status = Api().create(&handle, access | SYNCHRONIZE, &object, &io, nullptr, 0, share, kOpen,
                                       options | kSynchronousIo | kOpenReparsePoint | kBackupIntent, nullptr, 0);
  opened.reset(status == 0 ? handle : INVALID_HANDLE_VALUE);
  return status;
}

bool SetDeleted(HANDLE handle) {
  IoStatus io{};
  BOOLEAN remove = TRUE;
  return Api().set(handle, &io, &remove, sizeof remove, kDispositionInformation) == 0;
}

bool SetAttributes(HANDLE handle, DWORD attributes) {
  IoStatus io{};
  BasicInfo basic{};  // zero times: left as they are
  basic.attributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  return Api().set(handle, &io, &basic, sizeof basic, kBasicInformation) == 0;
}

// Deletes a read-only file through its handle: where the system can ignore the mark, the
// mark stays as it is; otherwise it is cleared for the delete and put back at once, so
// that a delete that fails changes nothing, and the other names of a hard-linked file
// (which share the mark) keep it.
bool SetDeletedReadOnly(HANDLE handle, DWORD attributes) {
  Native& api = Api();
  if (api.ignoreReadOnly) {
    IoStatus io{};
    ULONG flags = kDispositionDelete | kDispositionIgnoreReadOnly;
    const NtStatus status = api.set(handle, &io, &flags, sizeof flags, kDispositionInformationEx);
    if (status == 0) return true;
    if (!Unsupported(status)) return false;
    api.ignoreReadOnly = false;
  }
  if (!SetAttributes(handle, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) return false;
  const bool deleted = SetDeleted(handle);
  SetAttributes(handle, attributes);
  return deleted;
}

// --- Text ------------------------------------------------------------------------------

bool ToWide(const std::string& text, std::wstring& wide) {
  if (text.empty()) return false;
  const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0);
  if (n <= 0) return false;
  wide.resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), &wide[0],
                             n) == n;
}

// The name in the system code page; 0 when it has no exact form there (such a name could
// not be matched against a mask reliably, nor written in a plain path).
std::size_t ToAnsi(const wchar_t* name, std::size_t length, char* out, std::size_t room) {
  // UTF-8 as the system code page holds every name, and takes neither flag nor default.
  static const bool utf8 = GetACP() == CP_UTF8;
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, name, static_cast<int>(length), out,
                                    static_cast<int>(room), nullptr, utf8 ? nullptr : &lossy);
  if (n <= 0 || lossy) return 0;
  return static_cast<std::size_t>(n);
}

std::string Plain(const std::wstring& exact) {
  std::wstring path = exact;
  if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
    path = L"\\\\" + path.substr(8);
  } else if (path.compare(0, 4, L"\\\\?\\") == 0) {
    path = path.substr(4);
  }
  if (path.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr,
                                    nullptr);
  if (n <= 0) return std::string();
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &text[0], n, nullptr, nullptr);
  return text;
}

// The "\\?\" form of the opened folder: its final path where the system can say, its full
// path otherwise. No closing '\'.
std::wstring ExactPath(HANDLE folder, const std::wstring& named) {
  std::wstring path;
  if (Api().finalPath) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int tries = 0; tries < 2; ++tries) {
      const DWORD n = Api().finalPath(folder, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
      if (n == 0) break;
      if (n < buffer.size()) {
        path.assign(buffer.data(), n);
        break;
      }
      buffer.resize(n + 1);
    }
  }
  if (path.empty()) {
    std::vector<wchar_t> buffer(32768);
    const DWORD n = GetFullPathNameW(named.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0 || n >= buffer.size()) return std::wstring();
    path.assign(buffer.data(), n);
    if (path.compare(0, 4, L"\\\\?\\") != 0 && path.compare(0, 4, L"\\\\.\\") != 0)
      path = path.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC\\" + path.substr(2) : L"\\\\?\\" + path;
  }
  while (path.size() > 7 && path.back() == L'\\') path.pop_back();
  return path;
}

// --- The walk --------------------------------------------------------------------------

constexpr DWORD kNeverAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_OFFLINE |
                              FILE_ATTRIBUTE_REPARSE_POINT;
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct Listed {
  const wchar_t* name;
  std::size_t length;
  DWORD attributes;
  std::uint64_t id;  // 0: the file system gives none
  std::int64_t size;
  std::uint64_t writeTime;
};

// A subfolder found by a listing, entered once the listing is done.
struct Pending {
  std::uint64_t id;
  std::size_t wideAt, wideLength;
  std::size_t ansiAt, ansiLength;
};

// What both walks share: the count they fill or the deletion they check against it, and
// which listed entries they take.
class WalkBase {
 protected:
  // Counting fills `seen` when it is given; deleting takes its files from it.
  WalkBase(const FileWalk& walk, FileSnapshot* seen, bool deleting) : walk_(walk), seen_(seen), deleting_(deleting) {}

  // Opens a level: false when deleting and the count never walked it.
  bool BeginLevel(std::uint64_t key, std::size_t& folderIndex) {
    if (deleting_) return seen_->HasFolder(key, folderIndex);
    if (seen_) seen_->BeginFolder(key);
    return true;
  }
  void EndLevel() {
    if (!deleting_ && seen_) seen_->EndFolder();
  }
  // A plain folder to enter, or a file the walk may take, by its listed attributes;
  // anything else (a link, a folder when subfolders are off) is passed by.
  enum class Kind { kSkip, kFolder, kFile };
  Kind Classify(DWORD attributes, bool files) const {
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY)
      return walk_.subfolders ? Kind::kFolder : Kind::kSkip;
    return files && !(attributes & kNeverAFile) ? Kind::kFile : Kind::kSkip;
  }
  // A file that the walk takes: counted, or deleted by `remove` when the count saw it so.
  template <typename Remove>
  void Take(std::size_t folderIndex, std::uint64_t key, std::int64_t size, std::uint64_t writeTime, Remove remove) {
    if (!deleting_) {
      if (seen_) seen_->AddFile(key, size, writeTime);
    } else if (!seen_->Take(folderIndex, key, size, writeTime) || !remove()) {
      return;
    }
    ++tally_.entries;
    tally_.bytes += size;
  }

  const FileWalk& walk_;
  FileSnapshot* const seen_;
  const bool deleting_;
  Tally tally_;
};

class Walker : WalkBase {
 public:
  Walker(const FileWalk& walk, FileSnapshot* seen, bool deleting)
      : WalkBase(walk, seen, deleting), buffer_(64 * 1024 / sizeof(std::uint64_t)) {}

  Tally Run(const std::string& folder) {
    if (deleting_ && !seen_) return tally_;
    std::string plain = folder;
    if (plain.empty() || plain.size() >= kPathLimit) return tally_;
    if (plain.back() != '\\') plain += '\\';
    if (plain.size() >= kPathLimit) return tally_;
    std::wstring named;
    if (!ToWide(plain, named)) return tally_;
    std::memcpy(path_, plain.c_str(), plain.size() + 1);

    bool removable = deleting_ && walk_.removeRoot;
    win::UniqueFile root = OpenRoot(named, removable);
    if (!root) return tally_;
    Identity identity;
    if (!QueryIdentity(root.get(), identity, false) || !(identity.attributes & FILE_ATTRIBUTE_DIRECTORY))
      return tally_;
    exact_ = ExactPath(root.get(), named);
    if (exact_.empty()) return tally_;
    if (walk_.acceptRoot && !walk_.acceptRoot(Plain(exact_))) return tally_;
    exact_ += L'\\';
    const std::uint64_t key = identity.id ? identity.id : NameKey(exact_.data(), exact_.size());
    if (Level(root.get(), key, plain.size(), walk_.rootFiles) && removable) SetDeleted(root.get());
    return tally_;
  }

 private:
  // The named folder as the system resolves its path. Only when it is to be removed is it
  // opened without following a link: a link named by a plug-in is walked but never removed,
  // removing it would cut off whatever the user keeps behind it.
  win::UniqueFile OpenRoot(const std::wstring& named, bool& removable) {
    const DWORD access = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    if (removable) {
      win::UniqueFile root(CreateFileW(named.c_str(), access | DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
      Identity identity;
      if (root && QueryIdentity(root.get(), identity, false) &&
          (identity.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
              FILE_ATTRIBUTE_DIRECTORY)
        return root;
      removable = false;
    }
    return win::UniqueFile(CreateFileW(named.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  }

  // Lists one folder through its handle and hands every entry but "." and ".." to `visit`.
  template <typename Visit>
  void List(HANDLE folder, Visit visit) {
    int kind = kIdBothDirectoryInformation;
    const ULONG size = static_cast<ULONG>(buffer_.size() * sizeof(std::uint64_t));
    for (bool first = true;; first = false) {
      IoStatus io{};
      NtStatus status =
          Api().queryDirectory(folder, nullptr, nullptr, nullptr, &io, buffer_.data(), size, kind, FALSE, nullptr, first);
      if (first && kind == kIdBothDirectoryInformation && Unsupported(status)) {
        kind = kBothDirectoryInformation;  // a file system without file ids
        status = Api().queryDirectory(folder, nullptr, nullptr, nullptr, &io, buffer_.data(), size, kind, FALSE,
                                      nullptr, TRUE);
      }
      if (status != 0 || io.information == 0) return;
      const char* at = reinterpret_cast<const char*>(buffer_.data());
      for (;;) {
        Listed entry{};
        ULONG next = 0;
        if (kind == kIdBothDirectoryInformation) {
          const auto* e = reinterpret_cast<const IdBothDirEntry*>(at);
          entry = Listed{e->name, e->nameBytes / sizeof(wchar_t), e->attributes,
                         static_cast<std::uint64_t>(e->fileId.QuadPart), e->endOfFile.QuadPart,
                         static_cast<std::uint64_t>(e->lastWriteTime.QuadPart)};
          next = e->next;
        } else {
          const auto* e = reinterpret_cast<const BothDirEntry*>(at);
          entry = Listed{e->name, e->nameBytes / sizeof(wchar_t), e->attributes, 0, e->endOfFile.QuadPart,
                         static_cast<std::uint64_t>(e->lastWriteTime.QuadPart)};
          next = e->next;
        }
        const bool dots = entry.name[0] == L'.' &&
                          (entry.length == 1 || (entry.length == 2 && entry.name[1] == L'.'));
        if (!dots && entry.length > 0) visit(entry);
        if (next == 0) break;
        at += next;
      }
    }
  }

  // One level: its files while it is listed, its subfolders after. False when the level
  // was not walked whole (it may then not be removed).
  bool Level(HANDLE folder, std::uint64_t key, std::size_t at, bool files) {
    std::size_t folderIndex = 0;
    if (!BeginLevel(key, folderIndex)) return false;
    const std::size_t firstPending = pending_.size();
    const std::size_t namesAt = names_.size();
    const std::size_t ansiNamesAt = ansiNames_.size();
    const std::size_t wideAt = exact_.size();
    List(folder, [&](const Listed& entry) {
      if (walk_.working) walk_.working();
      const Kind kind = Classify(entry.attributes, files);
      if (kind == Kind::kSkip) return;
      char* const name = path_ + at;
      const std::size_t ansiLength = ToAnsi(entry.name, entry.length, name, kPathLimit - 1 - at);
      if (ansiLength == 0) return;
      if (kind == Kind::kFolder) {
        if (at + ansiLength + walk_.folderTail >= kPathLimit) return;
        pending_.push_back(Pending{entry.id, names_.size(), entry.length, ansiNames_.size(), ansiLength});
        names_.append(entry.name, entry.length);
        ansiNames_.append(name, ansiLength);
        return;
      }
      if (at + ansiLength >= kPathLimit) return;
      name[ansiLength] = 0;
      if (walk_.accept && !walk_.accept(name, walk_.context)) return;
      Take(folderIndex, entry.id ? entry.id : NameKey(entry.name, entry.length), entry.size, entry.writeTime,
           [&] { return DeleteListed(folder, entry, wideAt); });
    });
    EndLevel();

    bool whole = true;
    for (std::size_t i = firstPending; i < pending_.size(); ++i) {
      const Pending p = pending_[i];
      std::memcpy(path_ + at, ansiNames_.data() + p.ansiAt, p.ansiLength);
      path_[at + p.ansiLength] = 0;
      if (walk_.beforeEnter) walk_.beforeEnter(path_);
      const wchar_t* name = names_.data() + p.wideAt;
      const std::uint64_t childKey = p.id ? p.id : ChildKey(key, NameKey(name, p.wideLength));
      std::size_t ignored = 0;
      if (deleting_ && !seen_->HasFolder(childKey, ignored)) {
        whole = false;
        continue;
      }
      win::UniqueFile child = OpenFolder(folder, name, p);
      if (!child) {
        whole = false;
        continue;
      }
      path_[at + p.ansiLength] = '\\';
      path_[at + p.ansiLength + 1] = 0;
      exact_.append(name, p.wideLength);
      exact_ += L'\\';
      const bool childWhole = Level(child.get(), childKey, at + p.ansiLength + 1, true);
      if (deleting_ && walk_.removeSubfolders && childWhole) SetDeleted(child.get());
      exact_.resize(wideAt);
      // A subfolder that stays keeps its parent.
      whole = whole && childWhole;
    }
    pending_.resize(firstPending);
    names_.resize(namesAt);
    ansiNames_.resize(ansiNamesAt);
    return whole;
  }

  // The listed subfolder, opened without following a link, when it is still the folder
  // the listing showed.
  win::UniqueFile OpenFolder(HANDLE parent, const wchar_t* name, const Pending& p) {
    const DWORD access = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES;
    win::UniqueFile child;
    NtStatus status = 1;
    if (deleting_ && walk_.removeSubfolders)
      status = OpenRelative(parent, name, p.wideLength, access | DELETE, kShareAll, kDirectoryFile, child);
    if (status != 0) status = OpenRelative(parent, name, p.wideLength, access, kShareAll, kDirectoryFile, child);
    if (status != 0) return win::UniqueFile();
    Identity identity;
    if (!QueryIdentity(child.get(), identity, false) ||
        (identity.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != FILE_ATTRIBUTE_DIRECTORY ||
        (p.id != 0 && identity.id != p.id))
      return win::UniqueFile();
    return child;
  }

  // Whether the handle holds the listed file, as it was counted.
  static bool Unchanged(HANDLE file, const Listed& entry, Identity& identity) {
    return QueryIdentity(file, identity, true) && !(identity.attributes & kNeverAFile) &&
           (entry.id == 0 || identity.id == entry.id) && identity.size == entry.size &&
           identity.writeTime == entry.writeTime;
  }

  bool DeleteListed(HANDLE folder, const Listed& entry, std::size_t wideAt) {
    const bool readOnly = entry.attributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly && !walk_.deleteReadOnly) return false;
    // No write sharing: while the handle is open nobody can change the file, and a file
    // open for writing elsewhere counts as in use.
    win::UniqueFile file;
    const ACCESS_MASK access = DELETE | FILE_READ_ATTRIBUTES | (readOnly ? FILE_WRITE_ATTRIBUTES : 0);
    const NtStatus status = OpenRelative(folder, entry.name, entry.length, access,
                                         FILE_SHARE_READ | FILE_SHARE_DELETE, kNonDirectoryFile, file);
    Identity identity;
    if (status == 0) {
      if (!Unchanged(file.get(), entry, identity)) return false;
      if ((identity.attributes & FILE_ATTRIBUTE_READONLY) && !walk_.deleteReadOnly) return false;
      const bool deleted = (identity.attributes & FILE_ATTRIBUTE_READONLY)
                               ? SetDeletedReadOnly(file.get(), identity.attributes)
                               : SetDeleted(file.get());
      if (deleted) return true;
    } else if (status == kNotFound || status == kPathNotFound) {
      return false;
    }
    file.reset();
    if (walk_.scheduleInUse) ScheduleInUse(folder, entry, wideAt);
    return false;
  }

  // A counted file that cannot be deleted now goes to removal at restart, by its exact
  // path, when it is still the file that was counted.
  void ScheduleInUse(HANDLE folder, const Listed& entry, std::size_t wideAt) {
    win::UniqueFile file;
    Identity identity;
    if (OpenRelative(folder, entry.name, entry.length, FILE_READ_ATTRIBUTES, kShareAll, kNonDirectoryFile, file) !=
            0 ||
        !Unchanged(file.get(), entry, identity))
      return;
    file.reset();
    exact_.append(entry.name, entry.length);
    walk_.scheduleInUse(exact_, path_);
    exact_.resize(wideAt);
  }

  char path_[kPathLimit] = "";  // the plain path of the level, and the name being looked at
  std::wstring exact_;          // the "\\?\" path of the level, with its closing '\'
  std::vector<std::uint64_t> buffer_;
  std::vector<Pending> pending_;
  std::wstring names_;
  std::string ansiNames_;
};

// --- Without the native calls ---------------------------------------------------------
// The older family has neither relative opens nor links, and only plain paths: a name the
// system would rewrite is left out, a link found by the listing
// is never entered, and a file is checked by a listing of its own name (attributes, size
// and last write time) right before it is deleted by its path.

std::uint64_t AnsiKey(const char* name, std::size_t length) {
  const std::wstring widened(reinterpret_cast<const unsigned char*>(name),
                             reinterpret_cast<const unsigned char*>(name) + length);
  return NameKey(widened.data(), widened.size());
}

// A name a plain path cannot give exactly: the system drops a trailing dot or blank, and
// the listing puts '?' for a character the code page lacks.
bool Rewritten(const char* name, std::size_t length) {
  return length > 0 && (name[length - 1] == '.' || name[length - 1] == ' ' || std::strpbrk(name, "?*"));
}

std::uint64_t Join(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

bool PlainFolder(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY;
}

class PathWalker : WalkBase {
 public:
  PathWalker(const FileWalk& walk, FileSnapshot* seen, bool deleting) : WalkBase(walk, seen, deleting) {}

  Tally Run(std::string plain) {
    if ((deleting_ && !seen_) || plain.empty() || plain.size() >= kPathLimit) return tally_;
    if (plain.back() != '\\') plain += '\\';
    if (plain.size() >= kPathLimit || !PlainFolder(plain.c_str())) return tally_;
    char full[kPathLimit];
    const DWORD n = GetFullPathNameA(plain.c_str(), kPathLimit, full, nullptr);
    if (n == 0 || n >= kPathLimit) return tally_;
    std::string judged(full, n);
    while (judged.size() > 3 && judged.back() == '\\') judged.pop_back();
    if (walk_.acceptRoot && !walk_.acceptRoot(judged)) return tally_;
    std::memcpy(path_, plain.c_str(), plain.size() + 1);
    const bool whole = Level(AnsiKey(judged.data(), judged.size()), plain.size(), walk_.rootFiles);
    if (whole && deleting_ && walk_.removeRoot) RemoveDirectoryA(plain.c_str());
    return tally_;
  }

 private:
  bool Level(std::uint64_t key, std::size_t at, bool files) {
    std::size_t folderIndex = 0;
    if (at + 1 >= kPathLimit || !BeginLevel(key, folderIndex)) return false;  // room for the "*" of the listing
    std::vector<std::string> subfolders;
    std::memcpy(path_ + at, "*", 2);
    WIN32_FIND_DATAA data;
    win::UniqueFind find(FindFirstFileA(path_, &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.get(), &data) != FALSE) {
      if (walk_.working) walk_.working();
      const char* name = data.cFileName;
      const std::size_t length = std::strlen(name);
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0 || Rewritten(name, length)) continue;
      const Kind kind = Classify(data.dwFileAttributes, files);
      if (kind == Kind::kFolder && at + length + walk_.folderTail < kPathLimit) subfolders.emplace_back(name, length);
      if (kind != Kind::kFile || at + length >= kPathLimit) continue;
      std::memcpy(path_ + at, name, length + 1);
      if (walk_.accept && !walk_.accept(path_ + at, walk_.context)) continue;
      const std::int64_t size = static_cast<std::int64_t>(Join(data.nFileSizeHigh, data.nFileSizeLow));
      const std::uint64_t writeTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
      Take(folderIndex, AnsiKey(name, length), size, writeTime,
           [&] { return DeleteListed(data.dwFileAttributes, size, writeTime); });
    }
    find.reset();
    EndLevel();

    bool whole = true;
    for (const std::string& name : subfolders) {
      std::memcpy(path_ + at, name.c_str(), name.size() + 1);
      if (walk_.beforeEnter) walk_.beforeEnter(path_);
      const std::uint64_t childKey = ChildKey(key, AnsiKey(name.data(), name.size()));
      std::size_t ignored = 0;
      if ((deleting_ && !seen_->HasFolder(childKey, ignored)) || !PlainFolder(path_)) {
        whole = false;
        continue;
      }
      std::memcpy(path_ + at + name.size(), "\\", 2);
      const bool childWhole = Level(childKey, at + name.size() + 1, true);
      path_[at + name.size()] = 0;
      if (deleting_ && walk_.removeSubfolders && childWhole) RemoveDirectoryA(path_);
      whole = whole && childWhole;
    }
    return whole;
  }

  // The file at `path_`, when a listing of its name still shows what was counted.
  bool DeleteListed(DWORD attributes, std::int64_t size, std::uint64_t writeTime) {
    const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly && !walk_.deleteReadOnly) return false;
    WIN32_FIND_DATAA data;
    if (!win::UniqueFind(FindFirstFileA(path_, &data)) || (data.dwFileAttributes & kNeverAFile) ||
        static_cast<std::int64_t>(Join(data.nFileSizeHigh, data.nFileSizeLow)) != size ||
        Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime) != writeTime)
      return false;
    if (readOnly && !SetFileAttributesA(path_, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)))
      return false;
    if (DeleteFileA(path_)) return true;
    if (readOnly) SetFileAttributesA(path_, attributes);
    std::wstring wide;
    if (walk_.scheduleInUse && ToWide(path_, wide)) walk_.scheduleInUse(L"\\\\?\\" + wide, path_);
    return false;
  }

  char path_[kPathLimit] = "";
};

}  // namespace

Tally CountFiles(const std::string& folder, const FileWalk& walk, FileSnapshot* seen) {
  if (seen) seen->Clear();
  if (walk.byPaths || !Api().ok()) return PathWalker(walk, seen, false).Run(folder);
  return Walker(walk, seen, false).Run(folder);
}

Tally DeleteFiles(const std::string& folder, const FileWalk& walk, FileSnapshot& seen) {
  if (walk.byPaths || !Api().ok()) return PathWalker(walk, &seen, true).Run(folder);
  return Walker(walk, &seen, true).Run(folder);
}

}  // namespace deletion
