// ExitWindowsEx: the request recorded in the machine, and a restart's boot step.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "platform/ExitWindows.h"
#include "platform/LastError.h"
#include "tests/support/TestMachine.h"

namespace {

class ExitWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m.Write("drive_c/Capture/app.exe", "MZ");
    m.Write("drive_c/WINDOWS/wininit.ini", "[Rename]\r\nNULL=C:\\Capture\\app.exe\r\n");
  }
  std::string Log() const { return m.Read("exitwindows.log"); }
  CTestMachine m;
};

TEST_F(ExitWindowsTest, ShutdownIsRecordedAndTouchesNothing) {
  EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN, 0));
  EXPECT_TRUE(std::regex_match(Log(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z shutdown \(flags 0x1\)\n)")))
      << Log();
  EXPECT_TRUE(m.Exists("drive_c/Capture/app.exe"));
  EXPECT_FALSE(m.Exists("drive_c/WINDOWS/wininit.bak"));
}

TEST_F(ExitWindowsTest, RestartRunsTheBootStepAtOnce) {
  EXPECT_TRUE(ExitWindowsEx(EWX_REBOOT, 0));
  EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
  EXPECT_TRUE(m.Exists("drive_c/WINDOWS/wininit.bak"));
  EXPECT_TRUE(std::regex_match(Log(), std::regex(R"(\S+Z restart \(flags 0x2\)\n  deleted C:\\Capture\\app\.exe\n)")))
      << Log();
  // Records add up: a later request appends.
  EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0));
  EXPECT_NE(Log().find("shutdown (flags 0x5)\n"), std::string::npos) << Log();
}

TEST_F(ExitWindowsTest, ALogOffIsNoRequestOfOurs) {
  EXPECT_FALSE(ExitWindowsEx(EWX_LOGOFF, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(m.Exists("exitwindows.log"));
}

TEST(ExitWindowsDirect, AMachineAskedWhileNoneIsInstalledBootsItself) {
  CTestMachine m(/*install=*/false);
  m.Write("drive_c/Capture/app.exe", "MZ");
  m.Write("drive_c/WINDOWS/wininit.ini", "[Rename]\r\nNUL=C:\\Capture\\app.exe\r\n");
  ASSERT_TRUE(m.Machine().ExitWindows(EWX_REBOOT).IsOk());
  EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
  EXPECT_FALSE(HasMachine());
}

}  // namespace
