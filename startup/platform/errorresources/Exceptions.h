// The exception tree of stelmar. Every failure is thrown by value as one of these classes and
// carries one complete, readable text: the sentence saying what failed, the object concerned
// (key, file, entry) and the system's description of the error code. Dialog handlers catch
// exceptions::Exception and show getMessage(); nothing else of the program catches them.
//
// The class names are part of what the program reports and are kept as they have always
// been spelled (CouldNotExtractAssosiatedIconExcpetion included).
//
// Standard library only: the portable units throw these too.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace exceptions {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : _message(std::move(message)) {}
  ~Exception() override = default;
  // The complete text of the failure.
  virtual const std::string& getMessage() const noexcept { return _message; }
  const char* what() const noexcept override { return _message.c_str(); }

 private:
  std::string _message;
};

}  // namespace exceptions

// Each class of the tree adds nothing but its name and its place in the tree.
#define STELMAR_EXCEPTION(Name, Base)                                      \
  class Name : public Base {                                               \
   public:                                                                 \
    explicit Name(std::string message) : Base(std::move(message)) {}       \
  };

namespace exceptions {
STELMAR_EXCEPTION(NumberFormatException, Exception)
}  // namespace exceptions

namespace io {
STELMAR_EXCEPTION(IOException, exceptions::Exception)
namespace file {
STELMAR_EXCEPTION(CouldNotLoadFileException, io::IOException)
STELMAR_EXCEPTION(CouldNotSaveFileException, io::IOException)
}  // namespace file
}  // namespace io

namespace windows {
namespace file {
STELMAR_EXCEPTION(WindowsFileException, io::IOException)
STELMAR_EXCEPTION(CouldNotGetModuleFileNameException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotGetCurrentDirectoryException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotSetCurrentDirectoryException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotGetSystemDirectoryException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotGetWindowsDirectoryException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotCreateDirectoryException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotDeleteFileException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotMoveFileException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotConvertShortPathToLongPathException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotSearchPathException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotExtractAssosiatedIconExcpetion, WindowsFileException)
STELMAR_EXCEPTION(CouldNotCheckIfFileExistException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotGetFirstLevelDirectoriesException, WindowsFileException)
STELMAR_EXCEPTION(CouldNotGetFirstLevelFilesException, WindowsFileException)

STELMAR_EXCEPTION(ShortcutException, exceptions::Exception)
STELMAR_EXCEPTION(ShortcutReaderException, ShortcutException)
STELMAR_EXCEPTION(ShortcutWriterException, ShortcutException)
}  // namespace file

namespace registry {
STELMAR_EXCEPTION(RegistryException, exceptions::Exception)
STELMAR_EXCEPTION(RegistryAccessDeniedException, RegistryException)
STELMAR_EXCEPTION(RegistryKeyNotFoundException, RegistryException)
STELMAR_EXCEPTION(RegistryValueNotFoundException, RegistryException)
STELMAR_EXCEPTION(RegistryUnexpectedTypeException, RegistryException)
STELMAR_EXCEPTION(RegistryExpandException, RegistryException)
}  // namespace registry

namespace info {
STELMAR_EXCEPTION(CouldNotGetWindowsVersion, exceptions::Exception)
}  // namespace info

namespace process {
STELMAR_EXCEPTION(CouldNotShellExecuteException, exceptions::Exception)
STELMAR_EXCEPTION(CouldNotCreateProcessException, exceptions::Exception)
}  // namespace process

namespace internet {
STELMAR_EXCEPTION(CouldNotLaunchInternetBrowserException, exceptions::Exception)
}  // namespace internet
}  // namespace windows

namespace util {
STELMAR_EXCEPTION(StringHelperException, exceptions::Exception)

namespace config {
// A configuration failure carries two texts: the short one (getMessage) names the key or
// the line; the long one adds the whole configuration text.
class ConfigException : public exceptions::Exception {
 public:
  explicit ConfigException(std::string message, std::string longMessage = std::string())
      : Exception(std::move(message)), _longMessage(std::move(longMessage)) {}
  // The short text with the whole configuration text behind it; the short text alone when
  // no long one was given.
  virtual const std::string& getLongMessage() const noexcept {
    return _longMessage.empty() ? getMessage() : _longMessage;
  }

 private:
  std::string _longMessage;
};
class KeyDoesNotExistException : public ConfigException {
 public:
  explicit KeyDoesNotExistException(std::string message, std::string longMessage = std::string())
      : ConfigException(std::move(message), std::move(longMessage)) {}
};
class ParseException : public ConfigException {
 public:
  explicit ParseException(std::string message, std::string longMessage = std::string())
      : ConfigException(std::move(message), std::move(longMessage)) {}
};
}  // namespace config
}  // namespace util

namespace products {
namespace stelmar {
namespace database {
STELMAR_EXCEPTION(AutostartDatabaseException, exceptions::Exception)
}  // namespace database
}  // namespace stelmar
}  // namespace products

STELMAR_EXCEPTION(TreeControlException, exceptions::Exception)

#undef STELMAR_EXCEPTION
