// Big script and state files, made at test time: a script of 100 MiB, lines of 1 MiB in every
// place a line can stand, and a [Packages] section of 100,000 lines. Each run does what the
// files say, the lines after the big ones included, keeps every byte it does not change, and
// stays within a multiple of its input in memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/bigdata/MeasuredRun.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr const char* kConfirm = "click 1010\nanswer IDOK\n";
constexpr const char* kCompleted = "The uninstallation has been completed.";
constexpr std::uint64_t kMiB = 1024 * 1024;

bool Completed(const MeasuredUninst& run) {
  return !run.child.timedOut && run.child.signal == 0 &&
         (run.child.status == 0 || run.child.status == 5 || run.child.status == 6) && run.result.Has({kCompleted});
}

std::string Describe(const MeasuredUninst& run) {
  return "status " + std::to_string(run.child.status) + ", signal " + std::to_string(run.child.signal) +
         (run.child.timedOut ? ", timed out" : "") + "\n" + run.result.errors;
}

std::uint64_t FileSize(const CTestMachine& m, const std::string& relative) {
  std::ifstream in(m.Host(relative), std::ios::binary | std::ios::ate);
  return static_cast<std::uint64_t>(in.tellg());
}

// A script of 100 MiB: one DeleteFiles section of about 600,000 lines of 170 characters, each
// naming a file in a folder that does not exist, and after them one line that names a file
// that does. The engine reads the section whole, so the last line takes effect.
TEST(BigScript, ScriptOf100MiB) {
  CTestMachine m(false);
  m.Write("drive_c/Capture/uninstin.ini", "[Packages]\r\nApp=1\r\n");
  m.Write("drive_c/Capture/last.txt", "last");
  {
    std::ofstream script(m.Host("drive_c/Capture/uninst.ini"), std::ios::binary);
    script << "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\n";
    const std::string folder = "C:\\Nowhere at all, a folder of the capture board software that was never installed";
    char line[256];
    for (std::uint64_t written = 0, i = 0; written < 100 * kMiB; ++i) {
      int length = std::snprintf(line, sizeof line, "%s\\file %07llu of the package, with a long name.dll=\r\n",
                                 folder.c_str(), static_cast<unsigned long long>(i));
      script.write(line, length);
      written += static_cast<std::uint64_t>(length);
    }
    script << "C:\\Capture\\last.txt=\r\n";
  }
  const std::uint64_t size = FileSize(m, "drive_c/Capture/uninst.ini");
  MeasuredUninst run = RunUninstMeasured(m.Host("drive_c/Capture/uninst.exe"), kConfirm);
  ASSERT_TRUE(Completed(run)) << Describe(run);
  EXPECT_FALSE(m.Exists("drive_c/Capture/last.txt")) << "the line after 100 MiB of lines was not handled";
  EXPECT_EQ(m.Read("drive_c/Capture/uninstin.ini").find("App="), std::string::npos);
  ReportFigures("script of 100 MiB", size, run.child);
  ExpectPeakWithin(run.child, size, 10);
}

struct LongLineCase {
  const char* name;
  std::string script;
  std::string state;  // "[Packages]\r\nApp=1\r\n" when empty
  std::function<void(const CTestMachine&)> check;
};

std::vector<LongLineCase> LongLineCases() {
  const std::string mib(kMiB, 'x');
  auto appGone = [](const CTestMachine& m) { EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe")); };
  return {
      {"a DeleteFiles pattern of 1 MiB",
       "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\nC:\\Capture\\" + mib + "=\r\nC:\\Capture\\app.exe=\r\n", {},
       appGone},
      {"a DeleteFiles value of 1 MiB",
       "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\nC:\\Capture\\app.exe=" + mib + "\r\n", {}, appGone},
      {"a last line of 1 MiB without a line end",
       "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\nC:\\Capture\\app.exe=\r\nC:\\Capture\\" + mib, {}, appGone},
      {"program group, INI and registry lines of 1 MiB",
       "[App]\r\nDeleteFiles=AppFiles\r\nDeleteGroupEntries=AppGroups\r\nDeleteIniEntries=AppIni\r\n"
       "DeleteRegEntries=AppReg\r\n[AppFiles]\r\nC:\\Capture\\app.exe=\r\n[AppGroups]\r\n" + mib + "#" + mib +
           "=\r\n[AppIni]\r\nwin.ini#" + mib + "##=1\r\nwin.ini#App##=1\r\n[AppReg]\r\nHKEY_LOCAL_MACHINE#" + mib +
           "##=1\r\n",
       {},
       [appGone](const CTestMachine& m) {
         appGone(m);
         EXPECT_EQ(m.Read("drive_c/WINDOWS/win.ini").find("[App]"), std::string::npos) << "the line after it";
       }},
      {"action section names and an INF identifier of 1 MiB",
       "[App]\r\nDeleteGroupEntries=" + mib + "\r\nDeleteFiles=AppFiles\r\nDeleteInfFile=AppInf\r\n[AppFiles]\r\n"
       "C:\\Capture\\app.exe=\r\n[AppInf]\r\nSearch_ID=" + mib + "\r\n[" + mib + "]\r\nx=y\r\n",
       {}, appGone},
      {"a package label of 1 MiB", "[English]\r\nApp=" + mib + "\r\n[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\n"
       "C:\\Capture\\app.exe=\r\n",
       {}, appGone},
      {"a [Packages] line of 1 MiB after the package",
       "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\nC:\\Capture\\app.exe=\r\n",
       "[Packages]\r\nApp=1\r\n" + mib + "=1\r\n",
       [appGone, mib](const CTestMachine& m) {
         appGone(m);
         // The main dialog reads the section into 1024 bytes: the long line is cut there, has
         // no equals sign left and ends the list; it is never struck and keeps every byte.
         EXPECT_EQ(m.Read("drive_c/Capture/uninstin.ini"), "[Packages]\r\n" + mib + "=1\r\n");
       }},
  };
}

TEST(BigScript, LinesOf1MiB) {
  for (const LongLineCase& c : LongLineCases()) {
    SCOPED_TRACE(c.name);
    CTestMachine m(false);
    const std::string state = c.state.empty() ? "[Packages]\r\nApp=1\r\n" : c.state;
    m.Write("drive_c/Capture/uninstin.ini", state);
    m.Write("drive_c/Capture/uninst.ini", c.script);
    m.Write("drive_c/Capture/app.exe", "app");
    m.Write("drive_c/WINDOWS/win.ini", "[windows]\r\nrun=\r\n[App]\r\nk=v\r\n");
    MeasuredUninst run = RunUninstMeasured(m.Host("drive_c/Capture/uninst.exe"), kConfirm);
    ASSERT_TRUE(Completed(run)) << Describe(run);
    c.check(m);
    const std::uint64_t input = c.script.size() + state.size();
    ReportFigures(std::string("1 MiB lines: ") + c.name, input, run.child);
    ExpectPeakWithin(run.child, input, 30);
  }
}

// [Packages] of 100,000 lines: the main dialog shows the first seven, the run removes and strikes
// those, and the other 99,993 lines stay as they were, in their order.
TEST(BigScript, PackagesOf100000Lines) {
  CTestMachine m(false);
  std::string packages = "[Packages]\r\n";
  std::string rest = "[Packages]\r\n";
  std::string script;
  for (int i = 0; i < 100000; ++i) {
    const std::string name = "Package" + std::to_string(100000 + i);
    packages += name + "=1\r\n";
    if (i >= 7) rest += name + "=1\r\n";
    if (i < 7) {
      script += "[" + name + "]\r\nDeleteFiles=" + name + "Files\r\n[" + name + "Files]\r\nC:\\Capture\\" + name +
                ".dll=\r\n";
      m.Write("drive_c/Capture/" + name + ".dll", "dll");
    }
  }
  m.Write("drive_c/Capture/uninstin.ini", packages);
  m.Write("drive_c/Capture/uninst.ini", script);
  MeasuredUninst run = RunUninstMeasured(m.Host("drive_c/Capture/uninst.exe"), kConfirm);
  ASSERT_TRUE(Completed(run)) << Describe(run);
  for (int i = 0; i < 7; ++i) EXPECT_FALSE(m.Exists("drive_c/Capture/Package" + std::to_string(100000 + i) + ".dll"));
  EXPECT_TRUE(m.Read("drive_c/Capture/uninstin.ini") == rest) << "the lines not shown must stay as they were";
  EXPECT_TRUE(run.result.Has({"\"id\":1007", "Package100006", "\"visible\":true"}));
  ReportFigures("[Packages] of 100,000 lines", packages.size(), run.child);
  ExpectPeakWithin(run.child, packages.size(), 80);
}

}  // namespace
