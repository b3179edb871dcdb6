#include "startup/windows/file/Shortcut.h"

#include <vector>

#include "startup/io/file/WriteSteps.h"
#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"

namespace windows::file {

namespace {

const char* const CREATE_FAILED =
    "An exception occured when trying to create an instance of IShellLink.";
const char* const PERSIST_FAILED =
    "An exception occured when trying to retrieve an instance of IPersistFile.";
const char* const LOAD_FAILED = "An exception occured when trying to load the shortcut ";
const char* const GET_PATH_FAILED =
    "An exception occured when trying to get the path for a shortcut.";
const char* const GET_ARGUMENTS_FAILED =
    "An exception occured when trying to get the arguments for a shortcut.";
const char* const GET_WORKING_DIRECTORY_FAILED =
    "An exception occured when trying to get the working directory for a shortcut.";
const char* const GET_DESCRIPTION_FAILED =
    "An exception occured when trying to get the description for a shortcut.";
const char* const SET_PATH_FAILED =
    "An exception occured when trying to set the path for a shortcut.";
const char* const SET_WORKING_DIRECTORY_FAILED =
    "An exception occured when trying to set the working path for a shortcut.";
const char* const SET_ARGUMENTS_FAILED =
    "An exception occured when trying to set the arguments for a shortcut.";
const char* const SET_DESCRIPTION_FAILED =
    "An exception occured when trying to set the description for a shortcut.";
const char* const SAVE_FAILED = "An exception occured when trying to save the the shortcut.";

constexpr int PATH_LENGTH = MAX_PATH;
constexpr int TEXT_LENGTH = 1024;

// Every shortcut failure ends with the system's text for the last error code. Success is
// any success code: the link object answers S_FALSE for a target that does not exist (yet)
// and for a shortcut without a path, and neither is a failure.
std::string complete(const std::string& message) {
  return message + "\n" + SystemErrors::map(static_cast<int>(::GetLastError()));
}

// The path in UTF-16, converted from the system code page.
std::wstring wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) {
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          length);
  }
  return result;
}

void createLink(win::ComPtr<IShellLinkA>& shellLink, win::ComPtr<IPersistFile>& persistFile) {
  const HRESULT created = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IShellLinkA, shellLink.putVoid());
  if (FAILED(created)) throw ShortcutException(complete(CREATE_FAILED));
  if (!shellLink) errorresources::assertion("_shellLink", __FILE__, __LINE__);
  if (!shellLink) throw ShortcutException(complete(CREATE_FAILED));
  const HRESULT queried = shellLink->QueryInterface(IID_IPersistFile, persistFile.putVoid());
  if (FAILED(queried)) throw ShortcutException(complete(PERSIST_FAILED));
  if (!persistFile) errorresources::assertion("_persistFile", __FILE__, __LINE__);
  if (!persistFile) throw ShortcutException(complete(PERSIST_FAILED));
}

// The link object takes absolute paths only, and the backup folders of the stores are
// relative to the current directory.
std::string fullPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH) return path;
  return std::string(buffer, length);
}

std::string textOf(const std::vector<char>& buffer) {
  std::string text(buffer.data(), buffer.size());
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  return text;
}

}  // namespace

IShellLinkShortcut::IShellLinkShortcut(const std::string& shortcutPath) {
  createLink(_shellLink, _persistFile);
  if (FAILED(_persistFile->Load(wide(fullPath(shortcutPath)).c_str(), STGM_READ))) {
    throw ShortcutReaderException(complete(LOAD_FAILED + shortcutPath + "\n"));
  }
}

std::string IShellLinkShortcut::getPath() {
  std::vector<char> buffer(PATH_LENGTH, '\0');
  WIN32_FIND_DATAA findData;
  if (FAILED(_shellLink->GetPath(buffer.data(), PATH_LENGTH, &findData, 0))) {
    throw ShortcutReaderException(complete(GET_PATH_FAILED));
  }
  return textOf(buffer);
}

std::string IShellLinkShortcut::getArguments() {
  std::vector<char> buffer(TEXT_LENGTH, '\0');
  if (FAILED(_shellLink->GetArguments(buffer.data(), TEXT_LENGTH))) {
    throw ShortcutReaderException(complete(GET_ARGUMENTS_FAILED));
  }
  return textOf(buffer);
}

std::string IShellLinkShortcut::getWorkingDirectory() {
  std::vector<char> buffer(PATH_LENGTH, '\0');
  if (FAILED(_shellLink->GetWorkingDirectory(buffer.data(), PATH_LENGTH))) {
    throw ShortcutReaderException(complete(GET_WORKING_DIRECTORY_FAILED));
  }
  return textOf(buffer);
}

std::string IShellLinkShortcut::getDescription() {
  std::vector<char> buffer(TEXT_LENGTH, '\0');
  if (FAILED(_shellLink->GetDescription(buffer.data(), TEXT_LENGTH))) {
    throw ShortcutReaderException(complete(GET_DESCRIPTION_FAILED));
  }
  return textOf(buffer);
}

ShortcutWriter::ShortcutWriter(const std::string& shortcutPath) : _shortcutPath(shortcutPath) {
  createLink(_shellLink, _persistFile);
}

void ShortcutWriter::write(const std::string& path, const std::string& arguments,
                           const std::string& workingDirectory, const std::string& description) {
  if (FAILED(_shellLink->SetPath(path.c_str()))) {
    throw ShortcutWriterException(complete(SET_PATH_FAILED));
  }
  if (FAILED(_shellLink->SetArguments(arguments.c_str()))) {
    throw ShortcutWriterException(complete(SET_ARGUMENTS_FAILED));
  }
  if (FAILED(_shellLink->SetWorkingDirectory(workingDirectory.c_str()))) {
    throw ShortcutWriterException(complete(SET_WORKING_DIRECTORY_FAILED));
  }
  if (FAILED(_shellLink->SetDescription(description.c_str()))) {
    throw ShortcutWriterException(complete(SET_DESCRIPTION_FAILED));
  }
  save();
}

void ShortcutWriter::rewrite(const std::string& existing, const std::string& path,
                             const std::string& arguments) {
  if (FAILED(_persistFile->Load(wide(fullPath(existing)).c_str(), STGM_READ))) {
    throw ShortcutReaderException(complete(LOAD_FAILED + existing + "\n"));
  }
  if (FAILED(_shellLink->SetPath(path.c_str()))) {
    throw ShortcutWriterException(complete(SET_PATH_FAILED));
  }
  if (FAILED(_shellLink->SetArguments(arguments.c_str()))) {
    throw ShortcutWriterException(complete(SET_ARGUMENTS_FAILED));
  }
  save();
}

void ShortcutWriter::save() {
  io::file::writeStep("save a shortcut");
  if (FAILED(_persistFile->Save(wide(fullPath(_shortcutPath)).c_str(), TRUE))) {
    throw ShortcutWriterException(complete(SAVE_FAILED));
  }
}

}  // namespace windows::file
