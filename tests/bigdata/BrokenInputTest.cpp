// Broken input: NUL bytes inside INI lines, script and state files that cannot be read (a folder,
// a FIFO, no permission, a sparse file far too large), and such files named by the script. Each
// gets the documented behaviour or a clear error: never a crash, never a hang, nothing lost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/bigdata/MeasuredRun.h"
#include "tests/support/TestMachine.h"

namespace {

using namespace std::string_literals;

constexpr const char* kConfirm = "click 1010\nanswer IDOK\n";
constexpr const char* kCompleted = "The uninstallation has been completed.";
constexpr double kTimeout = 60;

std::string Describe(const MeasuredUninst& run) {
  return "status " + std::to_string(run.child.status) + ", signal " + std::to_string(run.child.signal) +
         (run.child.timedOut ? ", timed out" : "") + "\n" + run.result.errors;
}

bool Completed(const MeasuredUninst& run) {
  return !run.child.timedOut && run.child.signal == 0 &&
         (run.child.status == 0 || run.child.status == 5 || run.child.status == 6) && run.result.Has({kCompleted});
}

void MakeFifo(const CTestMachine& m, const std::string& relative) {
  m.MakeDir(relative.substr(0, relative.rfind('/')));
  ASSERT_EQ(::mkfifo(m.Host(relative).c_str(), 0644), 0);
}

// A file that says it holds `bytes` bytes but holds none: reading it whole would need them all.
void MakeSparse(const CTestMachine& m, const std::string& relative, off_t bytes) {
  m.Write(relative, "");
  ASSERT_EQ(::truncate(m.Host(relative).c_str(), bytes), 0);
}

struct NulCase {
  const char* name;
  std::string state;
  std::string script;
  std::string winIni;
  std::function<void(const CTestMachine&, const MeasuredUninst&)> check;
};

const std::string kAppScript = "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\nC:\\Capture\\app.exe=\r\n";

// The profile functions give a section as NUL-closed lines, so a NUL byte inside a line shows
// as the end of that line, as it does to the Windows program; the file keeps the byte.
std::vector<NulCase> NulCases() {
  return {
      {"a NUL in a [Packages] line ends the list there", "[Packages]\r\nApp=1\r\nOther\0x=1\r\nThird=1\r\n"s,
       kAppScript, "",
       [](const CTestMachine& m, const MeasuredUninst& run) {
         EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
         EXPECT_FALSE(run.result.Has({"\"id\":1002", "\"visible\":true"})) << "Other is not shown";
         EXPECT_EQ(m.Read("drive_c/Capture/uninstin.ini"), "[Packages]\r\nOther\0x=1\r\nThird=1\r\n"s);
       }},
      {"a NUL after the last line end", "[Packages]\r\nApp=1\r\n\0"s, kAppScript, "",
       [](const CTestMachine& m, const MeasuredUninst&) {
         EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
         EXPECT_EQ(m.Read("drive_c/Capture/uninstin.ini"), "[Packages]\r\n\0"s);
       }},
      {"a NUL in a DeleteFiles line ends the walk of its section", "",
       "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\nC:\\Capture\\a.txt=\r\nC:\\Capture\\app.exe\0junk=\r\n"
       "C:\\Capture\\b.txt=\r\n"s,
       "",
       [](const CTestMachine& m, const MeasuredUninst&) {
         EXPECT_FALSE(m.Exists("drive_c/Capture/a.txt"));
         EXPECT_TRUE(m.Exists("drive_c/Capture/app.exe")) << "the line up to the NUL has no equals sign";
         EXPECT_TRUE(m.Exists("drive_c/Capture/b.txt"));
       }},
      {"NUL bytes in an INI file that the run edits stay", "",
       "[App]\r\nDeleteIniEntries=AppIni\r\n[AppIni]\r\nwin.ini#App##=1\r\nwin.ini#Other#gone#=1\r\n",
       "\0[windows]\r\nload=\0x\r\n[App]\r\nk=v\0w\r\n;\0c\r\n[Other]\r\nz=\0\r\ngone=1\r\n"s,
       [](const CTestMachine& m, const MeasuredUninst&) {
         EXPECT_EQ(m.Read("drive_c/WINDOWS/win.ini"), "\0[windows]\r\nload=\0x\r\n;\0c\r\n[Other]\r\nz=\0\r\n"s);
       }},
      {"a NUL in a language text", "",
       "[English]\r\nApp=Cap\0ture\r\nRegistry Uninstall Entry=A\0B\r\n"s + kAppScript, "",
       [](const CTestMachine& m, const MeasuredUninst& run) {
         EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
         EXPECT_TRUE(run.result.Has({"\"id\":1001", "\"text\":\"Cap\""}));
       }},
  };
}

TEST(BrokenInput, NulBytesInsideIniLines) {
  for (const NulCase& c : NulCases()) {
    SCOPED_TRACE(c.name);
    CTestMachine m(false);
    m.Write("drive_c/Capture/uninstin.ini", c.state.empty() ? "[Packages]\r\nApp=1\r\n" : c.state);
    m.Write("drive_c/Capture/uninst.ini", c.script);
    for (const char* file : {"app.exe", "a.txt", "b.txt"}) m.Write("drive_c/Capture/"s + file, "x");
    if (!c.winIni.empty()) m.Write("drive_c/WINDOWS/win.ini", c.winIni);
    MeasuredUninst run = RunUninstMeasured(m.Host("drive_c/Capture/uninst.exe"), kConfirm, kTimeout);
    ASSERT_TRUE(Completed(run)) << Describe(run);
    c.check(m, run);
  }
}

struct OwnFileCase {
  const char* name;
  const char* file;  // uninst.ini or uninstin.ini
  std::function<void(const CTestMachine&, const std::string& relative)> make;
  bool byPermission = false;  // unreadable only by its permission bits
};

// Root reads a file without read permission all the same; then there is nothing to test.
bool UnreadableToUs(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd >= 0) ::close(fd);
  return fd < 0;
}

// A script or state file that is there but cannot be read would read as empty, and the run
// would strike packages with nothing removed: start-up stops with a clear error instead, before
// anything changes.
TEST(BrokenInput, OwnFilesThatCannotBeRead) {
  auto folder = [](const CTestMachine& m, const std::string& r) { m.MakeDir(r); };
  auto fifo = [](const CTestMachine& m, const std::string& r) { MakeFifo(m, r); };
  auto sparse = [](const CTestMachine& m, const std::string& r) { MakeSparse(m, r, off_t{1} << 30); };
  auto noPermission = [](const CTestMachine& m, const std::string& r) {
    m.Write(r, r.ends_with("uninstin.ini") ? "[Packages]\r\nApp=1\r\n" : kAppScript);
    ::chmod(m.Host(r).c_str(), 0);
  };
  const OwnFileCase cases[] = {
      {"the state file is a folder", "uninstin.ini", folder},
      {"the script file is a folder", "uninst.ini", folder},
      {"the state file is a FIFO", "uninstin.ini", fifo},
      {"the script file is a FIFO", "uninst.ini", fifo},
      {"the script file is a sparse file of 1 GiB", "uninst.ini", sparse},
      {"the state file cannot be read", "uninstin.ini", noPermission, true},
      {"the script file cannot be read", "uninst.ini", noPermission, true},
  };
  for (const OwnFileCase& c : cases) {
    SCOPED_TRACE(c.name);
    CTestMachine m(false);
    m.Write("drive_c/Capture/uninstin.ini", "[Packages]\r\nApp=1\r\n");
    m.Write("drive_c/Capture/uninst.ini", kAppScript);
    m.Write("drive_c/Capture/app.exe", "app");
    const std::string relative = "drive_c/Capture/"s + c.file;
    std::filesystem::remove(m.Host(relative));
    c.make(m, relative);
    if (c.byPermission && !UnreadableToUs(m.Host(relative))) {
      std::printf("skipped: %s (this user reads files without read permission)\n", c.name);
      continue;
    }
    MeasuredUninst run = RunUninstMeasured(m.Host("drive_c/Capture/uninst.exe"), kConfirm, kTimeout);
    EXPECT_FALSE(run.child.timedOut);
    EXPECT_EQ(run.child.signal, 0);
    EXPECT_NE(run.child.status, 0) << Describe(run);
    EXPECT_NE(run.result.errors.find("cannot read"), std::string::npos) << run.result.errors;
    EXPECT_NE(run.result.errors.find(c.file), std::string::npos) << run.result.errors;
    EXPECT_TRUE(m.Exists("drive_c/Capture/app.exe"));
    if (std::string(c.file) == "uninst.ini") {
      EXPECT_EQ(m.Read("drive_c/Capture/uninstin.ini"), "[Packages]\r\nApp=1\r\n");
    }
  }
}

// Files that the script names, or that a search finds, which cannot be read as profile files:
// each is passed over, and the lines after it still take effect.
TEST(BrokenInput, FilesTheScriptNamesThatCannotBeRead) {
  CTestMachine m(false);
  m.Write("drive_c/Capture/uninstin.ini", "[Packages]\r\nApp=1\r\n");
  m.Write("drive_c/Capture/uninst.ini",
          "[App]\r\nDeleteFiles=AppFiles\r\nDeleteIniEntries=AppIni\r\nDeleteInfFile=AppInf\r\n"
          "[AppFiles]\r\nC:\\Capture\\fifo.ini=\r\nC:\\Capture\\app.exe=\r\n"
          "[AppIni]\r\nC:\\Capture\\fifo.ini#x#y#=1\r\nC:\\Capture\\folder.ini#x#y#=1\r\n"
          "C:\\Capture\\huge.ini#x#y#=1\r\nwin.ini#App##=1\r\n"
          "[AppInf]\r\nSection=Board\r\nItem=Id\r\nSearch_ID=BOARD\r\n");
  m.Write("drive_c/Capture/app.exe", "app");
  m.Write("drive_c/WINDOWS/win.ini", "[windows]\r\nrun=\r\n[App]\r\nk=v\r\n");
  m.Write("drive_c/WINDOWS/INF/oem2.inf", "[Board]\r\nId=board\r\n");
  MakeFifo(m, "drive_c/Capture/fifo.ini");
  m.MakeDir("drive_c/Capture/folder.ini");
  MakeSparse(m, "drive_c/Capture/huge.ini", off_t{64} << 30);
  MakeFifo(m, "drive_c/WINDOWS/INF/oem5.inf");
  MakeSparse(m, "drive_c/WINDOWS/INF/oem6.inf", off_t{64} << 30);
  m.MakeDir("drive_c/WINDOWS/INF/oem7.inf");
  MakeFifo(m, "drive_c/WINDOWS/INF/others/oem8.inf");
  MeasuredUninst run = RunUninstMeasured(m.Host("drive_c/Capture/uninst.exe"), kConfirm, kTimeout);
  ASSERT_TRUE(Completed(run)) << Describe(run);
  EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
  EXPECT_EQ(m.Read("drive_c/WINDOWS/win.ini"), "[windows]\r\nrun=\r\n");
  EXPECT_FALSE(m.Exists("drive_c/WINDOWS/INF/oem2.inf"));
  for (const char* left : {"drive_c/Capture/fifo.ini", "drive_c/Capture/folder.ini", "drive_c/Capture/huge.ini",
                           "drive_c/WINDOWS/INF/oem5.inf", "drive_c/WINDOWS/INF/oem6.inf"})
    EXPECT_TRUE(m.Exists(left)) << left;
  // The sparse files are never read: the run costs what a small one does.
  ReportFigures("files that cannot be read, sparse ones of 64 GiB among them", 64ull << 30, run.child);
  ExpectPeakWithin(run.child, 16 << 20, 1);
}

}  // namespace
