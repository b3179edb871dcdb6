// Shortcut (.lnk) files, read and written through the shell's link object (IShellLinkA with
// IPersistFile). COM must be initialised on the calling thread.
#pragma once

#include <shlobj.h>
#include <windows.h>

#include <string>

#include "common/Unique.h"

namespace windows::file {

class ShortcutReader {
 public:
  virtual ~ShortcutReader() = default;
  virtual std::string getPath() = 0;
  virtual std::string getArguments() = 0;
  virtual std::string getWorkingDirectory() = 0;
  virtual std::string getDescription() = 0;
};

// Loads the shortcut when made. Throws ShortcutException (no link object) or
// ShortcutReaderException.
class IShellLinkShortcut : public ShortcutReader {
 public:
  explicit IShellLinkShortcut(const std::string& shortcutPath);
  std::string getPath() override;
  std::string getArguments() override;
  std::string getWorkingDirectory() override;
  std::string getDescription() override;

 private:
  win::ComPtr<IShellLinkA> _shellLink;
  win::ComPtr<IPersistFile> _persistFile;
};

// Creates (or replaces) a shortcut file. Throws ShortcutException or ShortcutWriterException.
class ShortcutWriter {
 public:
  explicit ShortcutWriter(const std::string& shortcutPath);
  // Sets, in this order, path, arguments, working directory and description, then saves.
  void write(const std::string& path, const std::string& arguments,
             const std::string& workingDirectory, const std::string& description);
  // Changes the target and arguments of an existing shortcut file and saves it as this
  // writer's file: every other field (working folder, description, icon, show command, hot
  // key) stays as it was.
  void rewrite(const std::string& existing, const std::string& path, const std::string& arguments);

 private:
  void save();
  std::string _shortcutPath;
  win::ComPtr<IShellLinkA> _shellLink;
  win::ComPtr<IPersistFile> _persistFile;
};

}  // namespace windows::file
