// uninst-machine reg import, export and query, run as a person or a script runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/registry/RegistryTestUtil.h"
#include "tests/support/TestMachine.h"

namespace {

class RegCommand : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(Machine() + "/drive_c"); }
  std::string Machine() const { return m_dir.Path() + "/pc"; }
  // Runs uninst-machine with `args`; standard output in `out`, standard error in m_errors.
  int Run(const std::string& args, std::string* out) {
    const std::string errors = m_dir.Path() + "/stderr";
    int status = RunCommand(ToolPath("uninst-machine") + " " + args + " 2>" + errors, out);
    m_errors = ReadHostFile(errors);
    return status;
  }
  std::string Ok(const std::string& args) {
    std::string out;
    EXPECT_EQ(Run(args, &out), 0) << args << ": " << m_errors;
    return out;
  }
  CTempDir m_dir;
  std::string m_errors;
};

TEST_F(RegCommand, ImportThenExportReadsAsWritten) {
  std::string out;
  ASSERT_EQ(Run("init " + Machine(), &out), 0) << m_errors;
  Ok("reg import " + Machine() + " " + RegistryFixture("sample.reg"));
  EXPECT_EQ(Ok("reg export " + Machine()), ReadHostFile(RegistryFixture("init-sample-export.reg")));
  const std::string capture =
      Ok("reg export " + Machine() + " 'HKEY_LOCAL_MACHINE\\Software\\Example\\Capture'");
  EXPECT_EQ(capture.find("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Example\\Capture]\r\n@=\"Capture "
                         "application\"\r\n"),
            0u)
      << capture;
  // The export imports into another machine and exports the same again.
  const std::string copy = m_dir.Path() + "/copy";
  std::filesystem::create_directories(copy + "/drive_c");
  std::ofstream(m_dir.Path() + "/all.reg", std::ios::binary) << Ok("reg export " + Machine());
  Ok("reg import " + copy + " " + m_dir.Path() + "/all.reg");
  EXPECT_EQ(Ok("reg export " + copy), Ok("reg export " + Machine()));
}

TEST_F(RegCommand, QueryShowsValuesAndSubkeys) {
  Ok("reg import " + Machine() + " " + RegistryFixture("sample.reg"));
  EXPECT_EQ(Ok("reg query " + Machine() + " 'hklm\\Software\\Example\\Capture' Version"),
            "HKEY_LOCAL_MACHINE\\Software\\Example\\Capture\n    Version    REG_DWORD    0x105\n");
  EXPECT_EQ(
      Ok("reg query " + Machine() + " 'HKEY_LOCAL_MACHINE\\Software\\Example\\Capture' @"),
      "HKEY_LOCAL_MACHINE\\Software\\Example\\Capture\n    (Default)    REG_SZ    Capture application\n");
  EXPECT_EQ(Ok("reg query " + Machine() +
               " 'HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources'"),
            "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\n\n"
            "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\msvideo\n");
  const std::string values =
      Ok("reg query " + Machine() + " 'HKEY_LOCAL_MACHINE\\Software\\Example\\Capture'");
  EXPECT_NE(values.find("    Multi    REG_MULTI_SZ    a\\0b\n"), std::string::npos) << values;
  EXPECT_NE(values.find("    Blob    REG_BINARY    000102FF\n"), std::string::npos) << values;
}

TEST_F(RegCommand, FailuresSayWhyAndExitNonZero) {
  std::string out;
  std::ofstream(m_dir.Path() + "/bad.reg") << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Half]\n\"v\"=dword:xyz\n";
  EXPECT_EQ(
      Run("reg import " + Machine() + " " + RegistryFixture("sample.reg") + " " + m_dir.Path() + "/bad.reg",
          &out),
      1);
  EXPECT_NE(m_errors.find("bad.reg:4: dword: must be followed by"), std::string::npos) << m_errors;
  EXPECT_EQ(Ok("reg export " + Machine()), "REGEDIT4\r\n\r\n") << "nothing was imported";
  struct Case {
    std::string args;
    const char* message;
  } cases[] = {
      {"reg export " + m_dir.Path() + "/nowhere", "not a machine"},
      {"reg query " + m_dir.Path() + "/nowhere HKLM", "not a machine"},
      {"reg import " + m_dir.Path() + "/nowhere " + RegistryFixture("sample.reg"), "not a machine"},
      {"reg query " + Machine() + " 'HKLM\\Software\\Missing'", "HKLM\\Software\\Missing: not found"},
      {"reg query " + Machine() + " HKLM Missing", "HKEY_LOCAL_MACHINE value Missing: not found"},
      {"reg query " + Machine() + " 'HKEY_NOWHERE\\X'", "unknown root key"},
      {"reg export " + Machine() + " 'HKCU\\Missing'", "not found"},
      {"reg import " + Machine() + " " + m_dir.Path() + "/none.reg", "none.reg: cannot read"},
      {"reg query " + Machine(), "KEY is required"},
      {"reg import " + Machine(), "FILE is required"},
      {"reg", "A subcommand is required"},
  };
  for (const Case& c : cases) {
    std::string combined;
    int status = RunCommand(ToolPath("uninst-machine") + " " + c.args + " 2>&1", &combined);
    EXPECT_NE(status, 0) << c.args;
    EXPECT_NE(combined.find(c.message), std::string::npos) << c.args << ": " << combined;
  }
}

TEST_F(RegCommand, EachCommandExplainsItself) {
  EXPECT_NE(Ok("reg --help").find("query"), std::string::npos);
  for (const char* command : {"reg import", "reg export", "reg query"}) {
    std::string out = Ok(std::string(command) + " --help");
    EXPECT_NE(out.find("MACHINE"), std::string::npos) << command << ": " << out;
  }
  EXPECT_NE(Ok("reg query --help").find("@ for the default value"), std::string::npos);
}

}  // namespace
