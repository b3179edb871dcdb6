#include "startup/platform/errorresources/Exceptions.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

template <typename Thrown>
void expectCaughtAsStandard(const char* name) {
  try {
    throw Thrown(std::string("text of ") + name);
  } catch (const std::exception& caught) {
    EXPECT_EQ(std::string("text of ") + name, caught.what()) << name;
    return;
  } catch (...) {
  }
  ADD_FAILURE() << name << " was not caught as a standard exception";
}

template <typename Thrown, typename Caught>
void expectCaughtAs(const char* name) {
  try {
    throw Thrown(std::string("text of ") + name);
  } catch (const Caught& caught) {
    EXPECT_EQ(std::string("text of ") + name, caught.getMessage()) << name;
    EXPECT_STREQ(caught.getMessage().c_str(), caught.what()) << name;
    return;
  } catch (...) {
  }
  ADD_FAILURE() << name << " was not caught through its base";
}

#define EXPECT_TREE(Class, Base)                                   \
  static_assert(std::is_base_of<Base, Class>::value, #Class);      \
  expectCaughtAs<Class, Base>(#Class);                             \
  expectCaughtAs<Class, exceptions::Exception>(#Class);            \
  expectCaughtAsStandard<Class>(#Class)

TEST(Exceptions, EveryClassIsCaughtThroughItsBaseWithItsWholeText) {
  EXPECT_TREE(exceptions::NumberFormatException, exceptions::Exception);
  EXPECT_TREE(io::IOException, exceptions::Exception);
  EXPECT_TREE(io::file::CouldNotLoadFileException, io::IOException);
  EXPECT_TREE(io::file::CouldNotSaveFileException, io::IOException);
  EXPECT_TREE(windows::file::WindowsFileException, io::IOException);
  using windows::file::WindowsFileException;
  EXPECT_TREE(windows::file::CouldNotGetModuleFileNameException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotGetCurrentDirectoryException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotSetCurrentDirectoryException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotGetSystemDirectoryException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotGetWindowsDirectoryException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotCreateDirectoryException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotDeleteFileException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotMoveFileException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotConvertShortPathToLongPathException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotSearchPathException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotExtractAssosiatedIconExcpetion, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotCheckIfFileExistException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotGetFirstLevelDirectoriesException, WindowsFileException);
  EXPECT_TREE(windows::file::CouldNotGetFirstLevelFilesException, WindowsFileException);
  EXPECT_TREE(windows::file::ShortcutException, exceptions::Exception);
  EXPECT_TREE(windows::file::ShortcutReaderException, windows::file::ShortcutException);
  EXPECT_TREE(windows::file::ShortcutWriterException, windows::file::ShortcutException);
  using windows::registry::RegistryException;
  EXPECT_TREE(windows::registry::RegistryException, exceptions::Exception);
  EXPECT_TREE(windows::registry::RegistryAccessDeniedException, RegistryException);
  EXPECT_TREE(windows::registry::RegistryKeyNotFoundException, RegistryException);
  EXPECT_TREE(windows::registry::RegistryValueNotFoundException, RegistryException);
  EXPECT_TREE(windows::registry::RegistryUnexpectedTypeException, RegistryException);
  EXPECT_TREE(windows::registry::RegistryExpandException, RegistryException);
  EXPECT_TREE(util::config::ConfigException, exceptions::Exception);
  EXPECT_TREE(util::config::KeyDoesNotExistException, util::config::ConfigException);
  EXPECT_TREE(util::config::ParseException, util::config::ConfigException);
  EXPECT_TREE(products::stelmar::database::AutostartDatabaseException, exceptions::Exception);
  EXPECT_TREE(windows::info::CouldNotGetWindowsVersion, exceptions::Exception);
  EXPECT_TREE(windows::process::CouldNotShellExecuteException, exceptions::Exception);
  EXPECT_TREE(windows::process::CouldNotCreateProcessException, exceptions::Exception);
  EXPECT_TREE(windows::internet::CouldNotLaunchInternetBrowserException, exceptions::Exception);
  EXPECT_TREE(util::StringHelperException, exceptions::Exception);
  EXPECT_TREE(TreeControlException, exceptions::Exception);
}

TEST(Exceptions, ConfigurationFailuresCarryAShortAndALongText) {
  try {
    throw util::config::ParseException("short", "short\n\nConfiguration text:\na=b");
  } catch (const util::config::ConfigException& e) {
    EXPECT_EQ("short", e.getMessage());
    EXPECT_EQ("short\n\nConfiguration text:\na=b", e.getLongMessage());
  }
  // Without a long text the short one stands for both.
  const util::config::ConfigException plain("only");
  EXPECT_EQ("only", plain.getLongMessage());
}

}  // namespace
