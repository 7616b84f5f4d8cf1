// The .reg format: the fixture's import and export, the accepted forms and the refused lines.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "tests/registry/RegistryTestUtil.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr RegKeyId kLocalMachine = 3;

class RegFile : public ::testing::Test {
 protected:
  // Imports `texts`, each written to a file of its own; the error is kept in m_error.
  Status Import(IMachine& machine, const std::vector<std::string>& texts) {
    std::vector<std::string> files;
    for (const std::string& text : texts) {
      files.push_back(m_dir.Path() + "/in" + std::to_string(m_files++) + ".reg");
      std::ofstream(files.back(), std::ios::binary) << text;
    }
    return ImportRegFiles(machine, files, &m_error);
  }
  Status Import(const std::string& text) { return Import(m_machine.Machine(), {text}); }
  std::string Export(IMachine& machine, std::string_view key = {}) {
    std::string text;
    EXPECT_TRUE(ExportRegistry(machine, key, &text).IsOk()) << key;
    return text;
  }
  RegValue Value(std::string_view path, std::string_view name) {
    RegKeyId key = 0;
    RegValue value{0xFFFF, "<missing>"};
    if (m_machine.Machine().RegOpenKey(kLocalMachine, path, &key).IsOk())
      (void)m_machine.Machine().RegQueryValue(key, name, &value);
    return value;
  }

  CTempDir m_dir;
  CTestMachine m_machine;
  RegFileError m_error;
  int m_files = 0;
};

TEST_F(RegFile, TheFixtureImportsAndExportsAsAPersonExpects) {
  ASSERT_TRUE(
      ImportRegFiles(m_machine.Machine(), std::vector<std::string>{RegistryFixture("sample.reg")}, &m_error)
          .IsOk())
      << m_error.ToString();
  const std::string exported = Export(m_machine.Machine());
  EXPECT_EQ(exported, ReadHostFile(RegistryFixture("sample-export.reg")));
  // The export is deterministic and imports to the same registry.
  CTestMachine copy(false);
  ASSERT_TRUE(Import(copy.Machine(), {exported}).IsOk()) << m_error.ToString();
  EXPECT_EQ(Export(copy.Machine()), exported);
  EXPECT_EQ(Value("Software\\Example\\Capture", "Long").data.size(), 34u);
  EXPECT_EQ(Value("Software\\Example\\Capture", "Expand").data, std::string("%WINDIR%\\x", 11));
}

TEST_F(RegFile, AcceptedFormsGiveTheseValues) {
  struct Case {
    const char* line;
    DWORD type;
    std::string data;
  } cases[] = {
      {"\"v\"=\"a\\\\b \\\"q\\\"\"", REG_SZ, std::string("a\\b \"q\"", 8)},
      {"\"v\"=\"\"", REG_SZ, std::string(1, '\0')},
      {"\"v\" = \"x\" ; a comment", REG_SZ, std::string("x", 2)},
      {"\"v\"=dword:ffffFFFF", REG_DWORD, std::string(4, '\xff')},
      {"\"v\"=dword:0", REG_DWORD, std::string(4, '\0')},
      {"\"v\"=hex:1,a,ff", REG_BINARY, "\x01\x0a\xff"},
      {"\"v\"=hex:01,02,", REG_BINARY, "\x01\x02"},
      {"\"v\"=hex(0):", REG_NONE, ""},
      {"\"v\"=hex(b):01,00,00,00,00,00,00,00", REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8)},
      {"\"v\"=hex(7):61,00,00", REG_MULTI_SZ, std::string("a\0\0", 3)},
      {"\"v\"=hex:01,\\ ; comment\n\n; comment line\n    02", REG_BINARY, "\x01\x02"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Import(std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Forms]\n") + c.line + "\n").IsOk())
        << c.line << ": " << m_error.ToString();
    RegValue value = Value("Forms", "V");
    EXPECT_EQ(value.type, c.type) << c.line;
    EXPECT_EQ(value.data, c.data) << c.line;
  }
}

TEST_F(RegFile, AcceptedFilesAndKeyLines) {
  // Version 5.00 as regedit writes it: UTF-16LE with a byte-order mark, wide hex(2) data.
  std::string wide = "\xFF\xFE";
  for (char c : std::string("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Wide]\r\n"
                            "\"e\"=hex(2):41,00,42,00,00,00\r\n\"s\"=\"caf\xE9\"\r\n"))
    wide += std::string{c, '\0'};
  ASSERT_TRUE(Import(wide).IsOk()) << m_error.ToString();
  EXPECT_EQ(Value("Wide", "e").data, std::string("AB", 3));
  EXPECT_EQ(Value("Wide", "s").data, std::string("caf\xE9", 5));
  // Leading blanks before the header, no newline after the last line, a trailing backslash,
  // spaces kept inside the brackets, "" for the default value.
  ASSERT_TRUE(
      Import(
          "  \tREGEDIT4\n[HKEY_LOCAL_MACHINE\\Key\\]\n\"\"=\"d\"\n[HKEY_LOCAL_MACHINE\\Spaced ]\n\"v\"=\"s\"")
          .IsOk())
      << m_error.ToString();
  EXPECT_EQ(Value("Key", "").data, std::string("d", 2));
  EXPECT_EQ(Value("Spaced ", "v").data, std::string("s", 2));
  EXPECT_EQ(Value("Spaced", "v").data, "<missing>");
}

TEST_F(RegFile, AMalformedLineIsNamedAndChangesNothing) {
  ASSERT_TRUE(Import("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Before]\n\"v\"=\"kept\"\n").IsOk());
  const std::string before = Export(m_machine.Machine());
  struct Case {
    std::string text;
    int line;
    const char* why;
  } cases[] = {
      {"", 1, "empty"},
      {"\nREGEDIT4\n", 1, "first line"},
      {"regedit4\n", 1, "first line"},
      {"REGEDIT4 FOO\n", 1, "first line"},
      {"REGEDIT4\n\"v\"=\"x\"\n", 2, "outside a key"},
      {"REGEDIT4\n[HKEY_NOWHERE\\X]\n", 2, "unknown root key \"HKEY_NOWHERE\""},
      {"REGEDIT4\n[ HKEY_LOCAL_MACHINE\\X]\n", 2, "directly"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X\n", 2, "closing ']'"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\\\B]\n", 2, "doubled backslash"},
      {"REGEDIT4\n[-HKEY_LOCAL_MACHINE]\n", 2, "root key cannot be deleted"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X] junk\n", 2, "after the key line"},
      // Lines end at LF: a CR inside one would make a name no .reg line can write back.
      {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\rB]\r\n", 2, "key name with a line break"},
  };
  const std::string body =
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Before]\n\"v\"=\"changed\"\n[HKEY_LOCAL_MACHINE\\New]\n";
  struct ValueCase {
    const char* line;
    const char* why;
  } valueCases[] = {
      {"\"v\"=\"a\\0\"", "unknown escape"},
      {"\"v\"=\"open", "closing quote"},
      {"\"v\"=dword:123456789", "at most 8"},
      {"\"v\"=dword:0x1", "text after"},
      {"\"v\"=dword:1 2", "text after"},
      {"\"v\"=dword:", "1 to 8"},
      {"\"v\"=\"x\" # comment", "text after"},
      {"\"v\"=hex:1,,2", "comma without a byte"},
      {"\"v\"=hex:01 02", "separated by commas"},
      {"\"v\"=hex:123", "separated by commas"},
      {"\"v\"=hex:01\\", "must follow a comma"},
      {"\"v\"=hex:01,\\", "ends inside a continued value"},
      {"\"v\"=hex:01,#2", "1 or 2 hexadecimal"},
      {"\"v\"=hex(2x):00", "hex("},
      {"\"v\"=text", "unknown value data"},
      {"\"v\"=-x", "text after"},
      {"\"v\" \"x\"", "'='"},
      {"value=1", "neither"},
      {"\"a\rb\"=\"x\"", "value name with a line break"},
  };
  std::vector<Case> all(std::begin(cases), std::end(cases));
  for (const ValueCase& c : valueCases) all.push_back({body + c.line + "\n", 5, c.why});
  for (const Case& c : all) {
    m_error = {};
    EXPECT_FALSE(Import(c.text).IsOk()) << c.text;
    EXPECT_EQ(m_error.line, c.line) << c.text;
    EXPECT_NE(m_error.text.find(c.why), std::string::npos) << c.text << " -> " << m_error.ToString();
    EXPECT_EQ(m_error.ToString().find(m_dir.Path()), 0u) << "names the file: " << m_error.ToString();
  }
  EXPECT_EQ(Export(m_machine.Machine()), before);
}

TEST_F(RegFile, ALineThatCannotBeCarriedOutUndoesTheWholeImport) {
  const std::string good = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\First]\n\"a\"=\"1\"\n";
  const std::string bad =
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Second]\n\"" + std::string(300, 'n') + "\"=\"too long\"\n";
  EXPECT_FALSE(Import(m_machine.Machine(), {good, bad}).IsOk());
  EXPECT_EQ(m_error.line, 3);
  EXPECT_NE(m_error.text.find("cannot set the value"), std::string::npos) << m_error.ToString();
  RegKeyId key = 0;
  EXPECT_EQ(m_machine.Machine().RegOpenKey(kLocalMachine, "First", &key).Code(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m_machine.Machine().RegOpenKey(kLocalMachine, "Second", &key).Code(), ERROR_FILE_NOT_FOUND);
  // A file that is not there is an error too, before anything changes.
  EXPECT_FALSE(
      ImportRegFiles(m_machine.Machine(), std::vector<std::string>{m_dir.Path() + "/none.reg"}, &m_error)
          .IsOk());
  EXPECT_NE(m_error.ToString().find("none.reg: cannot read"), std::string::npos) << m_error.ToString();
}

TEST_F(RegFile, ValuesAQuotedStringCannotHoldExportAsHexAndComeBackTheSame) {
  HKEY key = MakeKey(HKEY_LOCAL_MACHINE, "Odd");
  RegKeyId id = 0;
  ASSERT_TRUE(m_machine.Machine().RegOpenKey(kLocalMachine, "Odd", &id).IsOk());
  ASSERT_TRUE(m_machine.Machine().RegSetValue(id, "NoNul", RegValue{REG_SZ, "abc"}).IsOk());
  ASSERT_TRUE(
      m_machine.Machine().RegSetValue(id, "Lines", RegValue{REG_SZ, std::string("a\r\nb", 5)}).IsOk());
  ASSERT_TRUE(m_machine.Machine().RegSetValue(id, "Odd dword", RegValue{REG_DWORD, "12"}).IsOk());
  ASSERT_TRUE(
      m_machine.Machine().RegSetValue(id, "Big", RegValue{REG_BINARY, std::string(100, '\x5a')}).IsOk());
  RegCloseKey(key);
  const std::string exported = Export(m_machine.Machine(), "hklm\\Odd");
  EXPECT_NE(exported.find("\"NoNul\"=hex(1):61,62,63\r\n"), std::string::npos) << exported;
  EXPECT_NE(exported.find("\"Lines\"=hex(1):61,0d,0a,62,00\r\n"), std::string::npos) << exported;
  EXPECT_NE(exported.find("\"Odd dword\"=hex(4):31,32\r\n"), std::string::npos) << exported;
  std::istringstream lines(exported);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 81u) << line;
  CTestMachine copy(false);
  ASSERT_TRUE(Import(copy.Machine(), {exported}).IsOk()) << m_error.ToString();
  EXPECT_EQ(Export(copy.Machine()), Export(m_machine.Machine()));
  std::string text;
  EXPECT_EQ(ExportRegistry(m_machine.Machine(), "HKEY_LOCAL_MACHINE\\Missing", &text).Code(),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ExportRegistry(m_machine.Machine(), "HKEY_NOWHERE", &text).Code(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
