// The Win32 registry functions as the program meets them, with the Windows 9x answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/registry/RegistryTestUtil.h"
#include "tests/support/TestMachine.h"

namespace {

class RegistryApi : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(OpenRegistryHandleCount(), 0u) << "a test left a key open"; }
  CTestMachine m_machine;
};

TEST_F(RegistryApi, OpenFollowsTheWindows9xPathRules) {
  HKEY made = MakeKey(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Product");
  ASSERT_EQ(RegCloseKey(made), ERROR_SUCCESS);
  struct Case {
    const char* path;
    LONG expected;
  } cases[] = {
      {"Software\\Vendor\\Product", ERROR_SUCCESS},
      {"SOFTWARE\\vendor\\PRODUCT", ERROR_SUCCESS},    // names ignore case
      {"Software\\Vendor\\Product\\", ERROR_SUCCESS},  // trailing backslashes are ignored
      {"Software\\Vendor\\Product\\\\", ERROR_SUCCESS},
      {"\\Software\\Vendor\\Product", ERROR_FILE_NOT_FOUND},  // a leading backslash opens nothing
      {"Software\\\\Vendor\\Product", ERROR_FILE_NOT_FOUND},  // nor does a doubled one
      {"Software\\Vendor\\Missing", ERROR_FILE_NOT_FOUND},
      {"Software\\Vendor\\Product\\Deeper", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    HKEY key = reinterpret_cast<HKEY>(std::uintptr_t{1});
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, c.path, &key), c.expected) << c.path;
    if (c.expected == ERROR_SUCCESS) {
      EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    } else {
      EXPECT_EQ(key, nullptr) << c.path;
    }
  }
  // The same key under another root does not exist.
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Vendor", &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, HandlesAreCountedAndCheckedAsOnWindows95) {
  HKEY key = MakeKey(HKEY_CURRENT_USER, "Software\\A");
  HKEY again = nullptr, self = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "software\\a", &again), ERROR_SUCCESS);
  EXPECT_EQ(again, key);  // one key, one handle value, two references
  ASSERT_EQ(RegOpenKeyA(key, nullptr, &self), ERROR_SUCCESS);
  EXPECT_EQ(self, key);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);  // still one reference
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(key), ERROR_BADKEY);  // closed
  EXPECT_EQ(RegCloseKey(key), ERROR_BADKEY);
  HKEY out = nullptr;
  EXPECT_EQ(RegOpenKeyA(nullptr, "Software", &out), ERROR_BADKEY);
  EXPECT_EQ(RegOpenKeyA(reinterpret_cast<HKEY>(std::uintptr_t{0x80000004}), "x", &out), ERROR_BADKEY);
  EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software", nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);  // predefined keys stay usable
  EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "", &out), ERROR_SUCCESS);
  EXPECT_EQ(out, HKEY_CURRENT_USER);
}

TEST_F(RegistryApi, CreateMakesTheWholePathAndSkipsALeadingBackslash) {
  HKEY key = MakeKey(HKEY_LOCAL_MACHINE, "\\New\\Deep\\Key\\");
  ASSERT_NE(key, nullptr);
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "New\\Deep\\Key", &opened), ERROR_SUCCESS);
  EXPECT_EQ(opened, key);
  EXPECT_EQ(RegCloseKey(opened), ERROR_SUCCESS);
  HKEY existing = MakeKey(HKEY_LOCAL_MACHINE, "NEW\\deep");
  EXPECT_EQ(Subkeys(existing), std::vector<std::string>{"Key"});  // the first spelling stays
  EXPECT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "A\\\\B", &opened), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, std::string(256, 'k').c_str(), &opened),
            ERROR_INVALID_PARAMETER);
  RegCloseKey(existing);
  RegCloseKey(key);
}

TEST_F(RegistryApi, QueryFailsOnASmallBufferAndLeavesItAsItWas) {
  HKEY key = MakeKey(HKEY_CURRENT_USER, "Control Panel\\International");
  SetString(key, "Locale", "00000409");  // 9 bytes with the NUL
  struct Case {
    DWORD bufferSize;
    LONG expected;
  } cases[] = {{8, ERROR_MORE_DATA}, {9, ERROR_SUCCESS}, {10, ERROR_SUCCESS}, {0, ERROR_MORE_DATA}};
  for (const Case& c : cases) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    DWORD type = 99, size = c.bufferSize;
    EXPECT_EQ(RegQueryValueExA(key, "LOCALE", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              c.expected)
        << c.bufferSize;
    EXPECT_EQ(size, 9u) << "the size needed, or read, with the closing NUL";
    EXPECT_EQ(type, REG_SZ);
    if (c.expected == ERROR_SUCCESS)
      EXPECT_STREQ(buffer, "00000409");
    else
      EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, '#')) << "untouched";
  }
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Locale", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 9u);
  // A missing value: type 0, size left alone.
  DWORD type = 99;
  size = 123;
  char buffer[4];
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(type, REG_NONE);
  EXPECT_EQ(size, 123u);
  EXPECT_EQ(RegQueryValueExA(key, "Locale", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
            ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST_F(RegistryApi, SetStoresWhatWindows9xStores) {
  HKEY key = MakeKey(HKEY_LOCAL_MACHINE, "Values");
  const char text[] = "abc\0def";
  // REG_SZ: the size given is ignored, the string is kept up to and with its first NUL.
  ASSERT_EQ(RegSetValueExA(key, "Short", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 2), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
            ERROR_SUCCESS);
  const BYTE binary[] = {0, 1, 0, 0xff};
  ASSERT_EQ(RegSetValueExA(key, "Bin", 0, REG_BINARY, binary, sizeof binary), ERROR_SUCCESS);
  const DWORD number = 0x01020304;
  ASSERT_EQ(RegSetValueExA(key, "Num", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
            ERROR_SUCCESS);
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
  } cases[] = {
      {"Short", REG_SZ, std::string("abc", 4)},
      {"Long", REG_SZ, std::string("abc", 4)},
      {"Bin", REG_BINARY, std::string("\0\1\0\xff", 4)},
      {"Num", REG_DWORD, std::string("\4\3\2\1", 4)},  // raw bytes, no conversion, no NUL
  };
  for (const Case& c : cases) {
    char buffer[32];
    DWORD type = 0, size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(key, c.name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(std::string(buffer, size), c.bytes) << c.name;
  }
  EXPECT_EQ(RegSetValueExA(key, "NoData", 0, REG_SZ, nullptr, 0), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExA(key, std::string(256, 'v').c_str(), 0, REG_SZ, binary, 1),
            ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST_F(RegistryApi, DefaultValueIsTheValueWithoutAName) {
  HKEY key = MakeKey(HKEY_CLASSES_ROOT, ".txt");
  SetString(key, nullptr, "txtfile");
  char buffer[16];
  DWORD size = sizeof buffer;
  ASSERT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(buffer, "txtfile");
  for (LPCSTR none : {static_cast<LPCSTR>(nullptr), ""}) {
    SetString(key, "", "again");
    EXPECT_EQ(RegDeleteValueA(key, none), ERROR_SUCCESS);
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_FILE_NOT_FOUND);
  }
  EXPECT_EQ(RegDeleteValueA(key, nullptr), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueA(key, "Missing"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(RegistryApi, SubkeysEnumerateByUpperCasedName) {
  HKEY parent = MakeKey(HKEY_LOCAL_MACHINE, "Order");
  // Raw byte order would be "C", "[x", "a", "b"; lower-cased order "[x" first.
  for (const char* name : {"b", "[x", "C", "a"}) RegCloseKey(MakeKey(parent, name));
  EXPECT_EQ(Subkeys(parent), (std::vector<std::string>{"a", "b", "C", "[x"}));
  char small[2];
  DWORD size = sizeof small;
  EXPECT_EQ(RegEnumKeyExA(parent, 3, small, &size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_EQ(size, 2u);
  char name[256];
  size = sizeof name;
  EXPECT_EQ(RegEnumKeyExA(parent, 4, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(parent);
}

// The board's device entries are removed by enumerating at one index and deleting there
// whenever the name matches: two matching neighbours must both go.
TEST_F(RegistryApi, DeletingAtTheEnumeratedIndexMovesTheNextKeyThere) {
  HKEY msvideo = MakeKey(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\MediaResources\\msvideo");
  for (const char* name : {"Other.A", "tk7cap.0", "TK7CAP.1", "Other.Z", "tk7cap.9"})
    RegCloseKey(MakeKey(msvideo, name));
  DWORD index = 0;
  for (;;) {
    char name[256];
    DWORD size = sizeof name;
    if (RegEnumKeyExA(msvideo, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    for (char* c = name; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    if (!std::strstr(name, "TK7CAP")) {
      ++index;
      continue;
    }
    HKEY second = nullptr;  // a second handle, as the program opens one for the deletion
    ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\MediaResources\\msvideo",
                          &second),
              ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(second, name), ERROR_SUCCESS);
    RegCloseKey(second);
  }
  EXPECT_EQ(Subkeys(msvideo), (std::vector<std::string>{"Other.A", "Other.Z"}));
  RegCloseKey(msvideo);
}

TEST_F(RegistryApi, DeletingAKeyTakesItsSubkeysAndNeverARoot) {
  RegCloseKey(MakeKey(HKEY_LOCAL_MACHINE, "Tree\\Branch\\Leaf"));
  HKEY tree = MakeKey(HKEY_LOCAL_MACHINE, "Tree");
  SetString(tree, "v", "x");
  EXPECT_EQ(RegDeleteKeyA(tree, nullptr), ERROR_BADKEY);
  EXPECT_EQ(RegDeleteKeyA(tree, ""), ERROR_BADKEY);
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, nullptr), ERROR_BADKEY);
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""), ERROR_BADKEY);
  EXPECT_EQ(Subkeys(tree), std::vector<std::string>{"Branch"});  // nothing went
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "tree\\"), ERROR_SUCCESS);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Tree\\Branch\\Leaf", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Tree", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Tree"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(tree), ERROR_SUCCESS);
}

TEST_F(RegistryApi, AHandleOfADeletedKeyFailsWithKeyDeleted) {
  HKEY key = MakeKey(HKEY_LOCAL_MACHINE, "Doomed\\Child");
  HKEY parent = MakeKey(HKEY_LOCAL_MACHINE, "Doomed");
  SetString(key, "v", "x");
  ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Doomed"), ERROR_SUCCESS);
  char buffer[8];
  DWORD size = sizeof buffer;
  HKEY out = nullptr;
  for (HKEY stale : {key, parent}) {
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(stale, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegEnumKeyExA(stale, 0, buffer, &size, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSetValueExA(stale, "w", 0, REG_SZ, reinterpret_cast<const BYTE*>("y"), 2),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteValueA(stale, "v"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCreateKeyA(stale, "Sub", &out), ERROR_KEY_DELETED);
    EXPECT_EQ(RegOpenKeyA(stale, nullptr, &out), ERROR_KEY_DELETED);
    EXPECT_EQ(RegOpenKeyA(stale, "Child", &out), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKeyA(stale, "Child"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegFlushKey(stale), ERROR_KEY_DELETED);
  }
  // A key made again at the same path is a new key; the old handle stays dead.
  HKEY reborn = MakeKey(HKEY_LOCAL_MACHINE, "Doomed\\Child");
  EXPECT_NE(reborn, key);
  EXPECT_EQ(RegFlushKey(reborn), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(key), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(parent), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(reborn), ERROR_SUCCESS);
}

TEST_F(RegistryApi, ValuesKeepTheirPlaceWhenSetAgain) {
  HKEY key = MakeKey(HKEY_CURRENT_USER, "Ordered");
  for (const char* name : {"zeta", "Alpha", "mid"}) SetString(key, name, "1");
  SetString(key, "ALPHA", "2");
  std::vector<std::string> names;
  std::string name;
  RegValue value;
  RegKeyId id = 0;
  ASSERT_TRUE(m_machine.Machine().RegOpenKey(2, "Ordered", &id).IsOk());
  for (DWORD i = 0; m_machine.Machine().RegEnumValue(id, i, &name, &value).IsOk(); ++i) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"zeta", "Alpha", "mid"}));
  RegCloseKey(key);
}

}  // namespace
