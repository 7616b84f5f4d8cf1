// The boot step: [Rename] of wininit.ini carried out line by line, then wininit.bak.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/Boot.h"
#include "platform/Profile.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr const char* kWininit = "drive_c/WINDOWS/wininit.ini";

class BootTest : public ::testing::Test {
 protected:
  BootReport Boot() {
    BootReport report;
    Status status = RunBootStep(&report);
    EXPECT_TRUE(status.IsOk()) << status.ToString();
    return report;
  }
  CTestMachine m;
};

TEST_F(BootTest, CarriesOutEveryLineInOrder) {
  for (const char* name : {"a.dll", "b.dll", "c.dll", "Long Name Tool.exe", "new.dll"})
    m.Write(std::string("drive_c/Capture/") + name, name);
  const std::string text =
      "[Rename]\r\n"
      "NUL=C:\\Capture\\a.dll\r\n"
      "NULL=C:\\Capture\\b.dll\r\n"
      "nul=C:\\CAPTURE\\C.DLL\r\n"
      "NULL=C:\\Capture\\Long Name Tool.exe\r\n"
      "C:\\Capture\\renamed.dll=C:\\Capture\\new.dll\r\n";
  m.Write(kWininit, text);
  BootReport report = Boot();
  EXPECT_EQ(report.lines, (std::vector<std::string>{
                              "deleted C:\\Capture\\a.dll",
                              "deleted C:\\Capture\\b.dll",
                              "deleted C:\\CAPTURE\\C.DLL",
                              "deleted C:\\Capture\\Long Name Tool.exe",
                              "renamed C:\\Capture\\new.dll to C:\\Capture\\renamed.dll",
                          }));
  EXPECT_EQ(report.notCarriedOut, 0);
  for (const char* gone : {"a.dll", "b.dll", "c.dll", "Long Name Tool.exe", "new.dll"})
    EXPECT_FALSE(m.Exists(std::string("drive_c/Capture/") + gone)) << gone;
  EXPECT_EQ(m.Read("drive_c/Capture/renamed.dll"), "new.dll");
  EXPECT_EQ(m.Read("drive_c/WINDOWS/wininit.bak"), text);
}

TEST_F(BootTest, ALineThatCannotBeCarriedOutIsReportedAndTheRestGoOn) {
  m.Write("drive_c/Capture/last.dll", "x");
  m.Write("drive_c/Capture/locked.dll", "x");
  ASSERT_EQ(::chmod(m.Host("drive_c/Capture/locked.dll").c_str(), 0444), 0);
  m.Write("drive_c/Capture/taken.dll", "old");
  m.Write("drive_c/Capture/update.dll", "new");
  m.MakeDir("drive_c/Capture/Data");
  m.Write(kWininit,
          "[Rename]\n"
          "NULL=C:\\Capture\\gone.dll\n"                      // already missing
          "NULL=C:\\Capture\\Data\n"                          // a directory
          "NULL=C:\\Capture\\locked.dll\n"                    // read-only
          "NULL=Capture\\last.dll\n"                          // not a full path
          "C:\\Capture\\taken.dll=C:\\Capture\\update.dll\n"  // would replace a file
          "just some text\n"
          "NULL=C:\\Capture\\last.dll\n");
  BootReport report = Boot();
  ASSERT_EQ(report.lines.size(), 7u);
  EXPECT_EQ(report.notCarriedOut, 6);
  EXPECT_EQ(report.lines[0], "not done: NULL=C:\\Capture\\gone.dll (file not found: C:\\Capture\\gone.dll)");
  EXPECT_EQ(report.lines[6], "deleted C:\\Capture\\last.dll");
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(report.lines[i].rfind("not done: ", 0), 0u) << report.lines[i];
  EXPECT_TRUE(m.Exists("drive_c/Capture/Data"));
  EXPECT_TRUE(m.Exists("drive_c/Capture/locked.dll"));
  EXPECT_EQ(m.Read("drive_c/Capture/taken.dll"), "old");
  EXPECT_EQ(m.Read("drive_c/Capture/update.dll"), "new");
  EXPECT_FALSE(m.Exists("drive_c/Capture/last.dll"));
}

TEST_F(BootTest, EmptiesTheSectionAndKeepsTheRestOfTheFile) {
  m.Write("drive_c/Capture/a.dll", "x");
  const std::string text = "; written by setup\r\n[Other]\r\nkeep=1\r\n[rename]\r\nNUL=C:\\Capture\\a.dll\r\n[Last]\r\nx=2\r\n";
  m.Write(kWininit, text);
  Boot();
  std::string after = m.Read(kWininit);
  EXPECT_EQ(after.find("a.dll"), std::string::npos) << after;
  EXPECT_NE(after.find("; written by setup\r\n[Other]\r\nkeep=1\r\n"), std::string::npos) << after;
  EXPECT_NE(after.find("[Last]\r\nx=2\r\n"), std::string::npos) << after;
  char buffer[64];
  EXPECT_EQ(GetPrivateProfileSectionA("Rename", buffer, sizeof buffer, "wininit.ini"), 0u);
  EXPECT_EQ(m.Read("drive_c/WINDOWS/wininit.bak"), text);
  // A second start finds nothing to do and keeps the record of the first.
  BootReport again = Boot();
  EXPECT_EQ(again.notCarriedOut, 0);
  EXPECT_EQ(m.Read("drive_c/WINDOWS/wininit.bak"), text);
}

TEST_F(BootTest, NothingToDo) {
  BootReport none = Boot();
  EXPECT_EQ(none.lines, (std::vector<std::string>{"no C:\\WINDOWS\\wininit.ini: nothing to do"}));
  EXPECT_FALSE(m.Exists("drive_c/WINDOWS/wininit.bak"));
  m.Write(kWininit, "[Other]\nx=1\n");
  Boot();
  EXPECT_FALSE(m.Exists("drive_c/WINDOWS/wininit.bak"));
  EXPECT_EQ(m.Read(kWininit), "[Other]\nx=1\n");
}

TEST_F(BootTest, SeesProfileWritesStillPending) {
  // The deletion pass writes [Rename] inside a batch; a restart before the batch ends must
  // still carry the lines out, as Windows writes its profile cache out before it restarts.
  m.Write("drive_c/Capture/a.dll", "x");
  CProfileWriteBatch batch;
  ASSERT_TRUE(WritePrivateProfileSectionA("Rename", "NULL=C:\\Capture\\a.dll\0", "wininit.ini"));
  BootReport report = Boot();
  EXPECT_EQ(report.lines, (std::vector<std::string>{"deleted C:\\Capture\\a.dll"}));
  EXPECT_FALSE(m.Exists("drive_c/Capture/a.dll"));
}

TEST_F(BootTest, ALongSectionIsReadWhole) {
  // More lines than the engine's 16384-character buffer holds.
  std::string text = "[Rename]\r\n";
  for (int i = 0; i < 600; ++i) {
    std::string name = "C:\\Capture\\file" + std::to_string(i) + ".dll";
    m.Write("drive_c/Capture/file" + std::to_string(i) + ".dll", "x");
    text += "NULL=" + name + "\r\n";
  }
  ASSERT_GT(text.size(), 16384u);
  m.Write(kWininit, text);
  BootReport report = Boot();
  EXPECT_EQ(report.lines.size(), 600u);
  EXPECT_EQ(report.notCarriedOut, 0);
  EXPECT_FALSE(m.Exists("drive_c/Capture/file599.dll"));
}

}  // namespace
