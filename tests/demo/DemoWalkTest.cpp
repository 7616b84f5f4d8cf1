// The README's first command, `bash scripts/demo.sh`, run from this checkout in an 80 by 24
// terminal and walked to its end with keys as a person would: the main dialog with the four
// packages, the hardware warning, the progress, the restart dialog answered "later"; then the
// machine is looked at: what the packages installed is gone, what other programs own stays, and
// the uninstaller's own files wait in [Rename] for the next start.
//
// With UNINST_DEMO_CAPTURES=FILE the screens of every step are written to FILE.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/TextCase.h"
#include "tests/support/ShellQuote.h"
#include "tests/support/TestMachine.h"
#include "tests/support/TmuxSession.h"

namespace fs = std::filesystem;

namespace {

// The first screen may wait for a whole build of build/release.
constexpr int kBuildMs = 15 * 60 * 1000;
constexpr int kStepMs = 10000;

std::string ReadAll(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

void WriteExecutable(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
  fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

bool Shows(const std::string& screen, const std::string& text) { return screen.find(text) != std::string::npos; }

// A progress bar filled from bracket to bracket.
bool ShowsFullBar(const std::string& screen) {
  const std::string kFilled = "█";
  size_t open = screen.find("[" + kFilled);
  if (open == std::string::npos) return false;
  size_t close = screen.find(']', open);
  if (close == std::string::npos) return false;
  for (size_t at = open + 1; at < close; at += kFilled.size())
    if (screen.compare(at, kFilled.size(), kFilled) != 0) return false;
  return true;
}

// The screens of the walk, for a person to look at.
class CCaptures {
 public:
  void Add(const std::string& step, const std::string& screen) { m_text += "== " + step + "\n" + screen + "\n"; }
  ~CCaptures() {
    if (const char* path = std::getenv("UNINST_DEMO_CAPTURES"); path && *path) std::ofstream(path) << m_text;
  }

 private:
  std::string m_text;
};

// What the terminal had been sent when the progress dialog closed: everything written up to the
// point where the cursor, hidden while the removal runs, comes back for the next dialog. Empty
// when the recording shows no such point.
std::string OutputUpToProgressEnd(const std::string& recording) {
  // `script` heads its log with one line of its own.
  size_t start = recording.rfind("Script started", 0) == 0 ? recording.find('\n') + 1 : 0;
  size_t progress = recording.find("Please wait while the components are removed", start);
  if (progress == std::string::npos) return "";
  size_t shown = recording.find("\x1b[?25h", progress);
  if (shown == std::string::npos) return "";
  return recording.substr(start, shown - start);
}

// The screen that `output` leaves in a fresh window of the same size.
std::string Replayed(const std::string& output, const std::string& dir) {
  const std::string path = dir + "/progress.out";
  if (output.empty()) return "";
  std::ofstream(path, std::ios::binary) << output;
  CTmuxSession replay("sh -c " + ShellQuoted("cat " + ShellQuoted(path) + "; sleep 60"));
  replay.WaitForText("Please wait", kStepMs);
  return replay.Screen();
}

std::vector<std::string> RenameLines(const std::string& wininit) {
  std::vector<std::string> lines;
  std::istringstream in(wininit);
  bool inRename = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inRename = AsciiUpper(line) == "[RENAME]";
      continue;
    }
    if (inRename && !line.empty()) lines.push_back(line);
  }
  return lines;
}

// The machine after the walk, compared with what the package installed.
void ExpectPackageRemoved(const std::string& machine) {
  struct FileCase {
    const char* path;  // under drive_c
    bool stays;
  };
  const FileCase kFiles[] = {
      {"WINDOWS/SYSTEM/tk7cap.drv", false},
      {"WINDOWS/SYSTEM/tk7cap.vxd", false},
      {"WINDOWS/tk7cap.hlp", false},
      {"WINDOWS/tkplay.ini", false},
      {"Program Files/Kalvora/Driver/tk7setup.exe", false},
      {"Program Files/Kalvora/Player/tkplay.exe", false},
      {"Program Files/Kalvora/Editor/tkedit.exe", false},
      {"Program Files/Kalvora/Samples/demo.tkv", false},
      {"Win32App/Premiere/Plug-ins/tk7imp.prm", false},
      {"WINDOWS/Start Menu/Programs/Kalvora TK7", false},
      {"WINDOWS/INF/others/tk7cap.inf", false},
      {"WINDOWS/INF/oem3.inf", false},
      {"Win32App/Premiere/Plug-ins/other.prm", true},
      {"WINDOWS/INF/others/bt848.inf", true},
      {"WINDOWS/INF/oem4.inf", true},
      // In use while it runs: removed at the next start.
      {"Capture/uninst.exe", true},
  };
  for (const FileCase& file : kFiles)
    EXPECT_EQ(fs::exists(machine + "/drive_c/" + file.path), file.stays) << "C:\\" << file.path;

  struct TextCase {
    const char* file;
    const char* text;
    bool stays;
  };
  const TextCase kIniTexts[] = {
      {"WINDOWS/system.ini", "VIDC.TK7C=", false},
      {"WINDOWS/system.ini", "[Kalvora TK7]", false},
      {"WINDOWS/system.ini", "wave=mmsystem.dll", true},
      {"WINDOWS/win.ini", "[Kalvora Player]", false},
      {"WINDOWS/win.ini", "tkv=", false},
      {"WINDOWS/win.ini", "txt=notepad.exe ^.txt", true},
  };
  for (const TextCase& entry : kIniTexts)
    EXPECT_EQ(Shows(ReadAll(machine + "/drive_c/" + entry.file), entry.text), entry.stays)
        << entry.text << " in " << entry.file;

  std::string exported;
  ASSERT_EQ(RunCommand(ShellQuoted(ToolPath("uninst-machine")) + " reg export " + ShellQuoted(machine), &exported), 0);
  const std::string keys = AsciiUpper(exported);
  struct KeyCase {
    const char* key;
    bool stays;
  };
  const KeyCase kKeys[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\Kalvora\\TK7 Driver", false},
      {"HKEY_LOCAL_MACHINE\\Software\\Kalvora\\Editor", false},
      {"HKEY_CURRENT_USER\\Software\\Kalvora\\Player", false},
      {"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\TK7CAP", false},
      {"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\msvideo\\TK7CAP.DRV", false},
      {"HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1A2B&DEV_7007\\BUS_00&DEV_0D&FUNC_00", false},
      {"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0003", false},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalvora TK7/TK5", false},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other Product", true},
      {"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\msvideo\\BT848.DRV", true},
      // The Player's list names these two without a parent key: such a line deletes nothing.
      {"HKEY_CLASSES_ROOT\\.tkv", true},
      {"HKEY_CLASSES_ROOT\\TKVideo.Clip", true},
  };
  for (const KeyCase& key : kKeys)
    EXPECT_EQ(Shows(keys, "\n[" + AsciiUpper(key.key) + "]\r\n") || Shows(keys, "\n[" + AsciiUpper(key.key) + "]\n"),
              key.stays)
        << key.key;

  const std::vector<std::string> rename = RenameLines(ReadAll(machine + "/drive_c/WINDOWS/wininit.ini"));
  for (const char* own : {"C:\\Capture\\uninst.exe", "C:\\Capture\\uninst.ini", "C:\\Capture\\uninstin.ini"}) {
    bool scheduled = std::any_of(rename.begin(), rename.end(), [&](const std::string& line) {
      const std::string upper = AsciiUpper(line);
      return upper == "NUL=" + AsciiUpper(own) || upper == "NULL=" + AsciiUpper(own);
    });
    EXPECT_TRUE(scheduled) << own << " should be deleted at the next start";
  }
  EXPECT_FALSE(fs::exists(machine + "/exitwindows.log")) << "\"later\" asks for neither shutdown nor restart";
}

// The script the terminal runs: the README's first command with the machine at `machine`, an
// apt that only notes it was called, and every byte sent to the terminal kept in `recording`.
std::string WriteWalkScript(const std::string& dir, const std::string& machine, const std::string& recording,
                            const std::string& aptCalls) {
  fs::create_directories(dir + "/bin");
  for (const char* tool : {"apt-get", "apt", "sudo"})
    WriteExecutable(dir + "/bin/" + tool, "#!/bin/sh\necho \"$0 $*\" >> " + ShellQuoted(aptCalls) + "\nexit 1\n");
  const std::string path = dir + "/walk.sh";
  WriteExecutable(path, "export UNINST_DEMO_MACHINE=" + ShellQuoted(machine) + "\n" +
                            "export PATH=" + ShellQuoted(dir + "/bin") + ":\"$PATH\"\n" +
                            // -f: each write reaches the recording at once.
                            "exec script -q -e -f --log-out " + ShellQuoted(recording) + " -c " +
                            ShellQuoted("bash " + ShellQuoted(SourcePath("scripts/demo.sh"))) + "\n");
  return path;
}

TEST(DemoWalk, TheReadmesFirstCommandUninstallsTheDemoPackageInTheTerminal) {
  CTempDir dir;
  CCaptures captures;
  const std::string machine = dir.Path() + "/demo-machine";
  const std::string recording = dir.Path() + "/terminal.out";
  const std::string aptCalls = dir.Path() + "/apt-calls";
  const std::string walk = WriteWalkScript(dir.Path(), machine, recording, aptCalls);
  const auto started = std::chrono::steady_clock::now();
  CTmuxSession tmux("sh " + ShellQuoted(walk));

  // demo.sh may also end early (a failed build, say): its last words are on the screen.
  tmux.WaitFor(
      [](const std::string& shown) { return Shows(shown, "Kalvora TK7/TK5 uninstallation") || Shows(shown, "exit="); },
      kBuildMs);
  ASSERT_TRUE(Shows(tmux.Screen(), "Kalvora TK7/TK5 uninstallation"))
      << tmux.Screen() << (fs::exists(aptCalls) ? "\napt was called: " + ReadAll(aptCalls) : "");
  ASSERT_TRUE(tmux.WaitForText("[ ] Sample clips", kStepMs)) << tmux.Screen();
  RecordProperty(
      "seconds_to_main_dialog",
      std::to_string(
          std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count()));
  std::string screen = tmux.Screen();
  captures.Add("main dialog: the four packages as the state file ticks them", screen);
  for (const char* package : {"[X] Capture board driver", "[X] Capture player", "[X] Video editing plug-ins"})
    EXPECT_TRUE(Shows(screen, package)) << package << "\n" << screen;

  // Down the list to the last package, tick it, on to OK and press it.
  tmux.Keys("Tab Tab Tab Space");
  ASSERT_TRUE(tmux.WaitForText("[X] Sample clips", kStepMs)) << tmux.Screen();
  captures.Add("Tab Tab Tab Space: every package ticked", tmux.Screen());
  tmux.Keys("Tab Enter");
  ASSERT_TRUE(tmux.WaitForText("Do you want to go on?", kStepMs)) << tmux.Screen();
  screen = tmux.Screen();
  captures.Add("Tab Enter: the board is still registered", screen);
  EXPECT_TRUE(Shows(screen, "the Kalvora TK7 or TK5 board is still registered")) << screen;

  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("Restart Windows later", kStepMs)) << tmux.Screen();
  screen = tmux.Screen();
  // The board's package went with a confirmed warning: shutting down is offered first.
  EXPECT_TRUE(Shows(screen, "[X] Shut down Windows now")) << screen;
  EXPECT_TRUE(Shows(screen, "[ ] Restart Windows now")) << screen;
  EXPECT_TRUE(Shows(screen, "[ ] Restart Windows later")) << screen;

  // The removal is over in a blink; the terminal's recording shows its last frame.
  const std::string progress = Replayed(OutputUpToProgressEnd(ReadAll(recording)), dir.Path());
  captures.Add("Enter: the progress as it closed (replayed from the terminal's recording)", progress);
  EXPECT_TRUE(Shows(progress, "Please wait while the components are removed ...")) << progress;
  EXPECT_TRUE(ShowsFullBar(progress)) << "the bar should close full\n" << progress;
  captures.Add("the restart dialog", screen);

  tmux.Keys("Tab Tab Tab Space");
  ASSERT_TRUE(tmux.WaitForText("[X] Restart Windows later", kStepMs)) << tmux.Screen();
  screen = tmux.Screen();
  captures.Add("Tab Tab Tab Space: restart later", screen);
  EXPECT_TRUE(Shows(screen, "[ ] Shut down Windows now")) << screen;
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("exit=", kStepMs)) << tmux.Screen();
  screen = tmux.Screen();
  captures.Add("Enter: the program has ended", screen);
  // Completed, with the uninstaller's own files left for the next start (5), but the two keys
  // that the Player's list cannot remove make it "some listed items could not be removed".
  EXPECT_TRUE(Shows(screen, "exit=6")) << screen;
  EXPECT_FALSE(fs::exists(aptCalls)) << ReadAll(aptCalls);

  ExpectPackageRemoved(machine);
  // The next start takes the uninstaller's own files.
  std::string boot;
  RunCommand(ShellQuoted(ToolPath("uninst-machine")) + " boot " + ShellQuoted(machine) + " 2>&1", &boot);
  for (const char* own : {"uninst.exe", "uninst.ini", "uninstin.ini"})
    EXPECT_FALSE(fs::exists(machine + "/drive_c/Capture/" + std::string(own))) << own << "\n" << boot;
}

}  // namespace
