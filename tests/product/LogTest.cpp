// The log of a run: one timed line per change as it happens, naming every change the machine
// shows afterwards, and every failure with its Windows error; appended, and on disk before the
// run has ended.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/product/ProductMachine.h"
#include "tests/support/TmuxSession.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// "drive_c/Program Files/x.exe" -> "C:\Program Files\x.exe"
std::string WindowsPath(const std::string& relative) {
  std::string path = "C:" + relative.substr(std::string("drive_c").size());
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The item of every line that begins with `verb`.
std::vector<std::string> Items(const std::vector<std::string>& lines, const std::string& verb) {
  std::vector<std::string> items;
  for (const std::string& line : lines)
    if (line.starts_with(verb + " ")) items.push_back(line.substr(verb.size() + 1));
  return items;
}

TEST(Log, NamesEveryChangeTheMachineShows) {
  CDemoMachine machine;
  CTempDir dir;
  const std::string log = dir.Path() + "/uninst.log";
  MachineSnapshot before = machine.Snapshot();
  ProgramRun run = machine.Uninst("--silent --select all --log " + Quoted(log));
  ASSERT_EQ(run.status, 6) << run.err;
  MachineSnapshot after = machine.Snapshot();
  MachineDiff diff = Compare(before, after);
  std::vector<std::string> lines = LogLines(ReadFile(log));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "uninst started on " + machine.Root() + ": \"C:\\Capture\\uninst.exe\"");
  EXPECT_EQ(lines.back(), "uninst ended with exit status 6: completed, but some listed items could not be removed "
                          "(wins over 5)");

  // Every file and folder that went is named, with its size, and nothing else is.
  std::vector<std::string> removed = Items(lines, "removed");
  for (const std::string& path : diff.removed) {
    const std::string windows = WindowsPath(path);
    bool named = std::any_of(removed.begin(), removed.end(), [&](const std::string& item) {
      return item.starts_with("file " + windows + " (" + std::to_string(before.files.at(path).size()) + " bytes)") ||
             item == "folder " + windows;
    });
    EXPECT_TRUE(named) << windows;
  }
  for (const std::string& item : removed) {
    if (!item.starts_with("file ") && !item.starts_with("folder ")) continue;
    std::string path = item.substr(item.find(' ') + 1);
    path = path.substr(0, path.find(" ("));
    std::string relative = "drive_c" + path.substr(2);
    for (char& c : relative)
      if (c == '\\') c = '/';
    EXPECT_TRUE(diff.removed.count(relative)) << item;
  }

  // Every registry key that went is a logged key or lies below one.
  std::vector<std::string> keys;
  for (const std::string& item : removed)
    if (item.starts_with("registry key ")) keys.push_back(Upper(item.substr(13)));
  for (const std::string& key : diff.keysRemoved) {
    bool named = std::any_of(keys.begin(), keys.end(),
                             [&](const std::string& logged) { return key == logged || key.starts_with(logged + "\\"); });
    EXPECT_TRUE(named) << key;
  }
  for (const std::string& key : keys) EXPECT_TRUE(diff.keysRemoved.count(key)) << key;

  // The profile entries it names are gone; the files it changed are the ones it names.
  for (const char* file : {"drive_c/WINDOWS/system.ini", "drive_c/WINDOWS/win.ini"})
    EXPECT_TRUE(diff.changed.count(file)) << file;
  EXPECT_TRUE(Has(lines, "removed INI entry C:\\WINDOWS\\system.ini [drivers] VIDC.TK7C=tk7cap.drv"));
  EXPECT_EQ(machine.Read("drive_c/WINDOWS/system.ini").find("VIDC.TK7C"), std::string::npos);
  EXPECT_TRUE(Has(lines, "removed INI section C:\\WINDOWS\\win.ini [Kalvora Player]"));
  EXPECT_EQ(machine.Read("drive_c/WINDOWS/win.ini").find("[Kalvora Player]"), std::string::npos);
  EXPECT_TRUE(Has(lines, "removed INI entry C:\\Capture\\uninstin.ini [Packages] Driver=1"));

  // What was scheduled is what the restart-time list holds.
  std::string wininit = machine.Read("drive_c/WINDOWS/wininit.ini");
  std::vector<std::string> scheduled = Items(lines, "scheduled");
  ASSERT_FALSE(scheduled.empty());
  for (const std::string& item : scheduled) {
    const std::string prefix = "restart-time line C:\\WINDOWS\\wininit.ini [Rename] ";
    ASSERT_TRUE(item.starts_with(prefix)) << item;
    EXPECT_NE(wininit.find(item.substr(prefix.size()) + "\r\n"), std::string::npos) << item;
  }
  // What failed, with the Windows error.
  EXPECT_TRUE(Has(lines, "could not remove registry key HKEY_CLASSES_ROOT\\.tkv: error 1010 (bad registry key)"));
  EXPECT_TRUE(diff.added.count("drive_c/WINDOWS/wininit.ini"));
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.starts_with("created file C:\\WINDOWS\\wininit.ini ("); }));
}

TEST(Log, AppendsToWhatIsThere) {
  CDemoMachine machine;
  CTempDir dir;
  const std::string log = dir.Path() + "/uninst.log";
  std::ofstream(log) << "earlier text\n";
  ASSERT_EQ(machine.Uninst("--silent --select all --log " + Quoted(log)).status, 6);
  const std::string first = ReadFile(log);
  // The second run finds nothing installed and stops.
  ASSERT_EQ(machine.Uninst("--silent --log " + Quoted(log)).status, 1);
  const std::string both = ReadFile(log);
  ASSERT_TRUE(both.starts_with(first)) << both;
  EXPECT_TRUE(first.starts_with("earlier text\n"));
  std::vector<std::string> second = LogLines(both.substr(first.size()));
  EXPECT_EQ(second, (std::vector<std::string>{
                        "uninst started on " + machine.Root() + ": \"C:\\Capture\\uninst.exe\"",
                        "uninst ended with exit status 1: stopped before anything was removed (cancelled or declined; "
                        "with --silent, by the dialogs' defaults)"}));
}

// In the terminal the run stops in the restart dialog, waiting for its user: by then the log
// holds every change, and a run killed there leaves its log whole and the machine free.
TEST(Log, OnDiskAsTheChangesHappen) {
  CDemoMachine machine;
  CTempDir dir;
  const std::string log = dir.Path() + "/uninst.log";
  CTmuxSession tmux(Quoted(ToolPath("uninst")) + " " + Quoted(machine.Program()) + " --log " + Quoted(log));
  ASSERT_TRUE(tmux.WaitForText("Video editing plug-ins")) << tmux.Screen();
  tmux.Keys("Tab Tab Tab Tab Enter");  // OK, with the state file's boxes
  ASSERT_TRUE(tmux.WaitForText("Do you want to go on?")) << tmux.Screen();
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("Restart Windows later")) << tmux.Screen();
  std::vector<std::string> lines = LogLines(ReadFile(log));
  EXPECT_TRUE(Has(lines, "removed file C:\\WINDOWS\\SYSTEM\\tk7cap.drv (36864 bytes)"));
  EXPECT_TRUE(Has(lines, "removed registry key HKEY_LOCAL_MACHINE\\Software\\Kalvora\\TK7 Driver"));
  EXPECT_FALSE(lines.back().starts_with("uninst ended")) << "the run has not ended";

  // While it waits, another run finds the machine taken.
  ProgramRun second = machine.Uninst("--silent");
  EXPECT_EQ(second.status, 4) << second.err;

  const int pid = tmux.DemoPid();
  ASSERT_EQ(::kill(pid, SIGKILL), 0);
  // The terminal is left as the killed program had it, so the process itself is watched.
  for (int i = 0; i < 250 && ::kill(pid, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_NE(::kill(pid, 0), 0) << "the program did not end";
  EXPECT_EQ(LogLines(ReadFile(log)), lines) << "nothing was lost or torn by the kill";
  // The lock went with the process.
  ProgramRun after = machine.Uninst("--silent --dry-run");
  EXPECT_NE(after.status, 4) << after.err;
}

}  // namespace
