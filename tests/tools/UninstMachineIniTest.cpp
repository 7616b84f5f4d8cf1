// uninst-machine init and ini, run as a person or a script runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TestMachine.h"

namespace {

// Runs uninst-machine with `args`; returns the exit status and fills `out` with standard output.
int UninstMachine(const std::string& args, std::string* out) {
  return RunCommand(ToolPath("uninst-machine") + " " + args + " 2>/dev/null", out);
}

class UninstMachineIni : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string out;
    ASSERT_EQ(UninstMachine("init " + Machine(), &out), 0);
  }
  std::string Machine() const { return m_dir.Path() + "/pc"; }
  std::string Run(const std::string& args) {
    std::string out;
    EXPECT_EQ(UninstMachine(args, &out), 0) << args;
    return out;
  }
  CTempDir m_dir;
};

TEST_F(UninstMachineIni, InitMakesAPlainWindowsPc) {
  for (const char* folder : {"WINDOWS", "WINDOWS/SYSTEM", "WINDOWS/INF", "WINDOWS/Start Menu/Programs"})
    EXPECT_TRUE(std::filesystem::is_directory(Machine() + "/drive_c/" + folder)) << folder;
  EXPECT_EQ(Run("ini get " + Machine() + " system.ini boot shell"), "{\"ret\": 12, \"buffer\": \"Explorer.exe\"}\n");
}

TEST_F(UninstMachineIni, CallsAnswerAsTheFunctionsDo) {
  const std::string m = Machine() + " 'C:\\WINDOWS\\test.ini' ";
  EXPECT_EQ(Run("ini write " + m + "s k1 'v 1'"), "{\"ret\": 1}\n");
  EXPECT_EQ(Run("ini write " + m + "s k2 42"), "{\"ret\": 1}\n");
  EXPECT_EQ(Run("ini get " + m + "s k1"), "{\"ret\": 3, \"buffer\": \"v 1\"}\n");
  EXPECT_EQ(Run("ini get " + m + "s K1 --size 2"), "{\"ret\": 1, \"buffer\": \"v\"}\n");
  EXPECT_EQ(Run("ini get " + m + "s none --default dflt"), "{\"ret\": 4, \"buffer\": \"dflt\"}\n");
  EXPECT_EQ(Run("ini get " + m + "s"), "{\"ret\": 6, \"buffer\": \"k1\\u0000k2\\u0000\\u0000\"}\n");
  EXPECT_EQ(Run("ini get " + m + "s --size 5"), "{\"ret\": 3, \"buffer\": \"k1\\u0000\\u0000\\u0000\"}\n");
  EXPECT_EQ(Run("ini section " + m + "s"), "{\"ret\": 13, \"buffer\": \"k1=v 1\\u0000k2=42\\u0000\\u0000\"}\n");
  EXPECT_EQ(Run("ini int " + m + "s k2"), "{\"ret\": 42}\n");
  EXPECT_EQ(Run("ini int " + m + "s none --default -1"), "{\"ret\": 4294967295}\n");
  EXPECT_EQ(Run("ini write " + m + "s k1"), "{\"ret\": 1}\n");
  EXPECT_EQ(Run("ini write-section " + m + "t a=1 b=2"), "{\"ret\": 1}\n");
  std::string bytes;
  RunCommand("cat " + Machine() + "/drive_c/WINDOWS/test.ini", &bytes);
  EXPECT_EQ(bytes, "[s]\r\nk2=42\r\n[t]\r\na=1\r\nb=2\r\n");
  EXPECT_EQ(Run("ini write " + m + "t"), "{\"ret\": 1}\n");
  RunCommand("cat " + Machine() + "/drive_c/WINDOWS/test.ini", &bytes);
  EXPECT_EQ(bytes, "[s]\r\nk2=42\r\n");
}

TEST_F(UninstMachineIni, BytesOutsideAsciiAreCodePoints) {
  const std::string m = Machine() + " win.ini ";
  EXPECT_EQ(Run("ini write " + m + "s k \"$(printf '\\351t\\351')\""), "{\"ret\": 1}\n");
  EXPECT_EQ(Run("ini get " + m + "s k"), "{\"ret\": 3, \"buffer\": \"\xc3\xa9t\xc3\xa9\"}\n");
}

TEST_F(UninstMachineIni, ErrorsHaveANonZeroStatus) {
  std::string out;
  EXPECT_NE(UninstMachine("ini get " + m_dir.Path() + "/nothing win.ini s k", &out), 0);
  EXPECT_NE(UninstMachine("ini get " + Machine(), &out), 0);
  EXPECT_NE(UninstMachine("ini frobnicate " + Machine(), &out), 0);
  EXPECT_NE(UninstMachine("", &out), 0);
  EXPECT_EQ(UninstMachine("ini get --help", &out), 0);
  EXPECT_NE(out.find("--default"), std::string::npos);
}

}  // namespace
