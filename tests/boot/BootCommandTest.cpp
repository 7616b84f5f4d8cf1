// uninst-machine boot, run as a person would run it.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestMachine.h"

namespace {

std::string Boot(const std::string& args, int* status) {
  std::string output;
  *status = RunCommand(ToolPath("uninst-machine") + " boot " + args + " 2>&1", &output);
  return output;
}

TEST(BootCommand, ReportsOneLineAFile) {
  CTestMachine m(/*install=*/false);
  m.Write("drive_c/Capture/app.exe", "MZ");
  m.Write("drive_c/WINDOWS/wininit.ini", "[Rename]\r\nNULL=C:\\Capture\\app.exe\r\n");
  int status = -1;
  EXPECT_EQ(Boot(m.Root(), &status), "deleted C:\\Capture\\app.exe\n");
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
}

TEST(BootCommand, ALineNotCarriedOutGivesItsOwnStatus) {
  CTestMachine m(/*install=*/false);
  m.Write("drive_c/WINDOWS/wininit.ini", "[Rename]\r\nNULL=C:\\Capture\\gone.exe\r\n");
  int status = -1;
  std::string output = Boot(m.Root(), &status);
  EXPECT_NE(output.find("not done: NULL=C:\\Capture\\gone.exe"), std::string::npos) << output;
  EXPECT_EQ(status, 3);
}

TEST(BootCommand, MissingMachine) {
  CTempDir dir;
  int status = -1;
  std::string output = Boot(dir.Path() + "/nothing", &status);
  EXPECT_NE(output.find("uninst-machine boot: error 3"), std::string::npos) << output;
  EXPECT_EQ(status, 2);
  output = Boot("", &status);
  EXPECT_NE(output.find("MACHINE"), std::string::npos) << output;
  EXPECT_NE(status, 0);
  output = Boot("--help", &status);
  EXPECT_NE(output.find("wininit.ini"), std::string::npos) << output;
  EXPECT_EQ(status, 0);
}

}  // namespace
