#include <gtest/gtest.h>

#include "startup/platform/errorresources/Exceptions.h"
#include "startup/platform/errorresources/SystemErrors.h"
#include "startup/tests/store/AssertionCatcher.h"
#include "startup/tests/store/StoreFixtures.h"
#include "startup/windows/registry/RegistryKeyImpl.h"
#include "startup/windows/registry/RegistryReaderImpl.h"
#include "startup/windows/registry/RegistryWriterImpl.h"

namespace {

using namespace windows::registry;
using storetests::GetValue;
using storetests::SetText;
using storetests::SetValue;

const char* const KEY = "Software\\Test";
const char* const FULL = "HKEY_CURRENT_USER\\Software\\Test";

std::string sys(DWORD code) { return SystemErrors::map(static_cast<int>(code)); }

// The text of the exception `statement` throws as `Type`, or a failure.
template <typename Type, typename Statement>
std::string messageOf(Statement statement) {
  try {
    statement();
  } catch (const Type& e) {
    return e.getMessage();
  } catch (const exceptions::Exception& e) {
    ADD_FAILURE() << "another exception: " << e.getMessage();
    return std::string();
  }
  ADD_FAILURE() << "nothing thrown";
  return std::string();
}

class RegistryLayer : public ::testing::Test {
 protected:
  storetests::ScratchRegistry registry;
};

TEST_F(RegistryLayer, NamesHivesAndKeys) {
  const std::pair<HKEY, const char*> hives[] = {{HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
                                                {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
                                                {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
                                                {HKEY_USERS, "HKEY_USERS"},
                                                {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA"},
                                                {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
                                                {HKEY_DYN_DATA, "HKEY_DYN_DATA"}};
  for (const auto& [hive, name] : hives) EXPECT_EQ(name, hiveToString(hive));
  EXPECT_EQ("Unable to convert the key '4660' to a registry key string.",
            messageOf<RegistryException>([] { hiveToString(reinterpret_cast<HKEY>(0x1234)); }));

  RegistryKeyImpl root(HKEY_CURRENT_USER, "", KEY_READ, RegistryKeyImpl::MODE_OPEN);
  EXPECT_EQ("HKEY_CURRENT_USER", root.getName());
  RegistryKeyImpl created(HKEY_CURRENT_USER, KEY, KEY_WRITE, RegistryKeyImpl::MODE_CREATE);
  EXPECT_EQ(FULL, created.getName());
  EXPECT_NE(nullptr, created.getHandle());
}

TEST_F(RegistryLayer, OpeningAndCreatingFailuresNameTheKey) {
  EXPECT_EQ(std::string("Error when opening a registry key, the key doesn't exist. Key: ") + FULL +
                "\n\n" + sys(ERROR_FILE_NOT_FOUND),
            messageOf<RegistryKeyNotFoundException>([] {
              RegistryKeyImpl key(HKEY_CURRENT_USER, KEY, KEY_READ, RegistryKeyImpl::MODE_OPEN);
            }));

  SetText(HKEY_CURRENT_USER, KEY, "v", "x");
  storetests::MakeReadOnly(HKEY_CURRENT_USER, KEY);
  EXPECT_EQ(std::string("Error when opening a registry key, access is denied. Key: ") + FULL +
                "\n\n" + sys(ERROR_ACCESS_DENIED),
            messageOf<RegistryAccessDeniedException>([] {
              RegistryKeyImpl key(HKEY_CURRENT_USER, KEY, KEY_WRITE, RegistryKeyImpl::MODE_OPEN);
            }));
  // A non-volatile key cannot be made under a volatile one.
  HKEY volatileKey = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            ::RegCreateKeyExA(HKEY_CURRENT_USER, "Volatile", 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr));
  ::RegCloseKey(volatileKey);
  EXPECT_EQ("Error when creating a registry key. Key: HKEY_CURRENT_USER\\Volatile\\Sub\n\n" +
                sys(ERROR_CHILD_MUST_BE_VOLATILE),
            messageOf<RegistryException>([] {
              RegistryKeyImpl key(HKEY_CURRENT_USER, "Volatile\\Sub", KEY_WRITE,
                                  RegistryKeyImpl::MODE_CREATE);
            }));
  storetests::MakeWritable(HKEY_CURRENT_USER, KEY);

  AssertionCatcher assertions;
  RegistryKeyImpl neither(HKEY_CURRENT_USER, KEY, KEY_READ, 2);
  EXPECT_EQ(1u, assertions.count("false"));
  EXPECT_EQ(nullptr, neither.getHandle());
  EXPECT_EQ(1u, assertions.count("_key != 0"));
}

TEST_F(RegistryLayer, ReadsTextsOfEveryTextType) {
  ::SetEnvironmentVariableA("VARNICKSTORETEST", "C:\\expanded");
  SetText(HKEY_CURRENT_USER, KEY, "plain", "C:\\a.exe -x");
  SetValue(HKEY_CURRENT_USER, KEY, "expand", REG_EXPAND_SZ,
           std::string("%VARNICKSTORETEST%\\b.exe\0", 24));
  SetValue(HKEY_CURRENT_USER, KEY, "multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9));
  SetValue(HKEY_CURRENT_USER, KEY, "unterminated", REG_SZ, "abc");
  SetValue(HKEY_CURRENT_USER, KEY, "empty", REG_SZ, "");
  RegistryKeyImpl key(HKEY_CURRENT_USER, KEY, KEY_READ, RegistryKeyImpl::MODE_OPEN);
  RegistryReaderImpl reader(key);
  EXPECT_EQ("C:\\a.exe -x", reader.readString("plain"));
  EXPECT_EQ("C:\\expanded\\b.exe", reader.readString("expand"));
  EXPECT_EQ("one", reader.readString("multi"));
  EXPECT_EQ("abc", reader.readString("unterminated"));
  EXPECT_EQ("", reader.readString("empty"));
  EXPECT_TRUE(reader.valueExists("plain"));
  EXPECT_FALSE(reader.valueExists("missing"));
}

TEST_F(RegistryLayer, ReadFailuresNameTheValue) {
  SetValue(HKEY_CURRENT_USER, KEY, "number", REG_DWORD, std::string("\x2A\0\0\0", 4));
  SetValue(HKEY_CURRENT_USER, KEY, "long", REG_SZ, std::string(3000, 'x'));
  SetText(HKEY_CURRENT_USER, KEY, "text", "12");
  RegistryKeyImpl key(HKEY_CURRENT_USER, KEY, KEY_READ, RegistryKeyImpl::MODE_OPEN);
  RegistryReaderImpl reader(key);
  const std::string entry = std::string(FULL) + "\\";
  EXPECT_EQ(
      "Unexpected registry type, where REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ was "
      "expected.\nThe actual type was 4.\nProblem occured with key:" +
          entry + "number\n",
      messageOf<RegistryUnexpectedTypeException>([&] { reader.readString("number"); }));
  EXPECT_EQ(
      "Unexpected registry type, where REG_DWORD, REG_BINARY or REG_DWORD_LITTLE_ENDIAN  "
      "was expected.\nThe actual type was 1.\nProblem occured with key:" +
          entry + "text\n",
      messageOf<RegistryUnexpectedTypeException>([&] { reader.readInt("text"); }));
  EXPECT_EQ(
      "Error when reading a registry key. Entry: " + entry + "long\n\n" + sys(ERROR_MORE_DATA),
      messageOf<RegistryException>([&] { reader.readString("long"); }));
  EXPECT_EQ("Error when reading a registry key, the value doesn't exist. Entry: " + entry +
                "missing\n\n" + sys(ERROR_FILE_NOT_FOUND),
            messageOf<RegistryValueNotFoundException>([&] { reader.readString("missing"); }));
  EXPECT_EQ(42, reader.readInt("number"));
  // Too long to read as text, yet it exists, and its bytes can be read whole.
  EXPECT_TRUE(reader.valueExists("long"));
  const std::optional<RawValue> raw = reader.readRaw("long");
  ASSERT_TRUE(raw);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), raw->type);
  // (Wine adds a terminating zero to text stored without one.)
  EXPECT_EQ(std::string(3000, 'x'), raw->bytes.substr(0, 3000));
  EXPECT_FALSE(reader.readRaw("missing"));
}

TEST_F(RegistryLayer, EnumeratesValuesAndSubkeys) {
  RegistryKeyImpl empty(HKEY_CURRENT_USER, KEY, KEY_READ | KEY_WRITE, RegistryKeyImpl::MODE_CREATE);
  EXPECT_TRUE(RegistryReaderImpl(empty).getValues().empty());
  EXPECT_TRUE(RegistryReaderImpl(empty).getSubKeys().empty());

  ::SetEnvironmentVariableA("VARNICKSTORETEST", "D:\\tools");
  SetText(HKEY_CURRENT_USER, KEY, "a", "C:\\a.exe");
  SetValue(HKEY_CURRENT_USER, KEY, "b", REG_EXPAND_SZ, std::string("%VARNICKSTORETEST%\\b\0", 22));
  SetValue(HKEY_CURRENT_USER, KEY, "c", REG_DWORD, std::string("\x01\0\0\0", 4));
  SetValue(HKEY_CURRENT_USER, KEY, "d", REG_SZ, "unterminated");
  SetText(HKEY_CURRENT_USER, std::string(KEY) + "\\Child", "x", "y");
  RegistryKeyImpl key(HKEY_CURRENT_USER, KEY, KEY_READ, RegistryKeyImpl::MODE_OPEN);
  RegistryReaderImpl reader(key);
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(Pairs({{"a", "C:\\a.exe"},
                   {"b", "D:\\tools\\b"},
                   {"c", std::string("\x01\0\0\0", 4)},
                   {"d", "unterminated"}}),
            reader.getValues());
  EXPECT_EQ(std::vector<std::string>({"Child"}), reader.getSubKeys());
}

TEST_F(RegistryLayer, WritesAndDeletes) {
  RegistryKeyImpl key(HKEY_CURRENT_USER, KEY, KEY_WRITE, RegistryKeyImpl::MODE_CREATE);
  RegistryWriterImpl writer(key);
  writer.writeString("text", "C:\\a b\\c.exe /x");
  // Stored with its terminating zero, as every reader of a REG_SZ value expects.
  EXPECT_EQ(std::string("C:\\a b\\c.exe /x\0", 16), GetValue(HKEY_CURRENT_USER, KEY, "text").bytes);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), GetValue(HKEY_CURRENT_USER, KEY, "text").type);
  writer.writeInt("number", 0x01020304, REG_DWORD);
  EXPECT_EQ(std::string("\x04\x03\x02\x01", 4), GetValue(HKEY_CURRENT_USER, KEY, "number").bytes);
  writer.writeInt("binary", 7, REG_BINARY);
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), GetValue(HKEY_CURRENT_USER, KEY, "binary").type);
  {
    AssertionCatcher assertions;
    writer.writeInt("wrong", 1, REG_SZ);
    EXPECT_EQ(1u, assertions.countContaining("type == REG_DWORD || type == REG_BINARY"));
  }

  writer.deleteValue("text");
  EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, KEY, "text").exists);
  EXPECT_EQ(std::string("Error when deleteing the registry value. The value did not exist. "
                        "Entry: ") +
                FULL + "\\text\n\n" + sys(ERROR_FILE_NOT_FOUND),
            messageOf<RegistryValueNotFoundException>([&] { writer.deleteValue("text"); }));
}

TEST_F(RegistryLayer, WritingThroughAReadOnlyHandleIsDenied) {
  SetText(HKEY_CURRENT_USER, KEY, "kept", "x");
  RegistryKeyImpl key(HKEY_CURRENT_USER, KEY, KEY_READ, RegistryKeyImpl::MODE_OPEN);
  RegistryWriterImpl writer(key);
  const std::string entry = std::string(FULL) + "\\kept\n\n" + sys(ERROR_ACCESS_DENIED);
  EXPECT_EQ("Error when setting a registry value, access is denied. Value: " + entry,
            messageOf<RegistryAccessDeniedException>([&] { writer.writeString("kept", "y"); }));
  EXPECT_EQ("Error deleting the value, access is denied. Entry: " + entry,
            messageOf<RegistryAccessDeniedException>([&] { writer.deleteValue("kept"); }));
  EXPECT_EQ(std::string("x\0", 2), GetValue(HKEY_CURRENT_USER, KEY, "kept").bytes);
}

TEST_F(RegistryLayer, AKeyDeletedWhileOpenFailsEveryOperation) {
  SetText(HKEY_CURRENT_USER, KEY, "v", "x");
  RegistryKeyImpl key(HKEY_CURRENT_USER, KEY, KEY_READ | KEY_WRITE, RegistryKeyImpl::MODE_OPEN);
  ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteKeyA(HKEY_CURRENT_USER, KEY));
  RegistryReaderImpl reader(key);
  RegistryWriterImpl writer(key);
  const std::string deleted = "\n\n" + sys(ERROR_KEY_DELETED);
  EXPECT_EQ(std::string("Error when setting a registry value. Value: ") + FULL + "\\v" + deleted,
            messageOf<RegistryException>([&] { writer.writeString("v", "y"); }));
  EXPECT_EQ(std::string("Error when deleteing a value. Entry: ") + FULL + "\\v" + deleted,
            messageOf<RegistryException>([&] { writer.deleteValue("v"); }));
  EXPECT_EQ(std::string("Error when getting the max data length. Using 'RegQueryInfoKey'. "
                        "Entry: ") +
                FULL + deleted,
            messageOf<RegistryException>([&] { reader.getValues(); }));
  EXPECT_EQ(std::string("Error when enumerating a registry key using 'RegEnumKey'. Entry: ") +
                FULL + deleted,
            messageOf<RegistryException>([&] { reader.getSubKeys(); }));
  EXPECT_EQ(std::string("Error when reading a registry key. Entry: ") + FULL + "\\v" + deleted,
            messageOf<RegistryException>([&] { reader.readString("v"); }));
}

TEST_F(RegistryLayer, ExpandsEnvironmentVariables) {
  ::SetEnvironmentVariableA("VARNICKSTORETEST", "value");
  EXPECT_EQ("", expand(""));
  EXPECT_EQ("%", expand("%"));
  EXPECT_EQ("value\\x", expand("%VARNICKSTORETEST%\\x"));
  EXPECT_EQ("%VARNICKUNSET%", expand("%VARNICKUNSET%"));
  const std::string longText(5000, 'y');
  EXPECT_EQ(longText, expand(longText));
}

}  // namespace
