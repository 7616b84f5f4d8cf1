// Unattended runs of the real program over the demo machine, each compared with the machine it
// must leave: exactly the files, profile files and registry keys of the packages it removes are
// gone or changed, nothing else; the restart dialog asks for nothing unless --restart lets the
// preselected choice stand.
#include <gtest/gtest.h>

#include <functional>

#include "tests/product/ProductMachine.h"

namespace {

constexpr const char* kGroupFolder = "drive_c/WINDOWS/Start Menu/Programs/Kalvora TK7";
constexpr const char* kOwnFiles[] = {"drive_c/Capture/uninst.exe", "drive_c/Capture/uninst.ini",
                                     "drive_c/Capture/uninstin.ini"};

struct Packages {
  bool driver = false;
  bool player = false;
  bool editor = false;
  bool samples = false;
  bool All() const { return driver && player && editor && samples; }
};

struct SilentCase {
  const char* name;
  std::function<void(const CDemoMachine&)> prepare;
  const char* args;
  Packages removed;
  bool deviceEntries;      // the board's device entries are there and go
  const char* exitWindows; // what the machine was asked to do, or nullptr
  int status;
};

void Add(std::set<std::string>& set, const std::vector<std::string>& items) { set.insert(items.begin(), items.end()); }

// The machine a case must leave, as a difference from the machine before the run.
MachineDiff Expected(const SilentCase& c) {
  MachineDiff diff;
  const Packages& p = c.removed;
  if (p.driver) Add(diff.removed, kDriverFiles);
  if (p.player) Add(diff.removed, kPlayerFiles);
  if (p.editor) Add(diff.removed, kEditorFiles);
  if (p.samples) Add(diff.removed, kSampleFiles);
  if (p.samples) diff.removed.insert(kGroupFolder);
  if (p.driver) diff.changed.insert("drive_c/WINDOWS/system.ini");
  if (p.player) diff.changed.insert("drive_c/WINDOWS/win.ini");
  // The restart-time list is written back whatever it holds, so wininit.ini always appears.
  diff.added.insert("drive_c/WINDOWS/wininit.ini");
  bool restarted = c.exitWindows && std::string(c.exitWindows) == "restart";
  if (c.exitWindows) diff.added.insert("exitwindows.log");
  if (restarted) diff.added.insert("drive_c/WINDOWS/wininit.bak");
  if (p.All() && restarted)
    diff.removed.insert(std::begin(kOwnFiles), std::end(kOwnFiles));
  else
    diff.changed.insert("drive_c/Capture/uninstin.ini");
  if (p.driver) Add(diff.keysRemoved, kDriverKeys);
  if (p.driver && c.deviceEntries) Add(diff.keysRemoved, kDeviceKeys);
  if (p.player) Add(diff.keysRemoved, kPlayerKeys);
  if (p.editor) Add(diff.keysRemoved, kEditorKeys);
  if (p.All()) diff.keysRemoved.insert(kUninstallKey);
  if (!diff.keysRemoved.empty()) diff.changed.insert("registry.db");
  return diff;
}

void Nothing(const CDemoMachine&) {}
// Without the two lines that always fail, a run can end with 0 or 5.
void Removable(const CDemoMachine& m) { m.WithoutRootLevelKeys(); }
void RemovableWithoutDevice(const CDemoMachine& m) {
  m.WithoutRootLevelKeys();
  m.WithoutDeviceEntries();
}

TEST(SilentRun, LeavesTheExpectedMachine) {
  const Packages driverPlayerEditor{true, true, true, false};
  const Packages all{true, true, true, true};
  const SilentCase cases[] = {
      // The state file ticks Driver, Player and Editor. The Player's two HKEY_CLASSES_ROOT keys
      // cannot be deleted, so the run reports that some items could not be removed.
      {"StateFileSelection", Nothing, "--silent", driverPlayerEditor, true, nullptr, 6},
      {"OnePackageNamedInAnyCase", Nothing, "--silent --select editor", {false, false, true, false}, true, nullptr, 0},
      {"NamesWithSpaces", Removable, "--silent --select ' player , EDITOR '", {false, true, true, false}, true, nullptr,
       0},
      // The hardware package ends with the restart dialog, answered "later": a restart is needed.
      {"HardwarePackage", Nothing, "--silent --select Driver", {true, false, false, false}, true, nullptr, 5},
      {"HardwarePackageShutdownStands", Nothing, "--silent --select Driver --restart", {true, false, false, false},
       true, "shutdown", 0},
      // Every package: the uninstaller's own files and its Uninstall key go too, its files at the
      // next start.
      {"All", Removable, "--silent --select all", all, true, nullptr, 5},
      {"AllShutdownStands", Removable, "--silent --select ALL --restart", all, true, "shutdown", 5},
      // Without the board's entries a restart is preselected; the restart works through the
      // restart-time list at once.
      {"AllRestartStands", RemovableWithoutDevice, "--silent --select all --restart", all, false, "restart", 0},
  };
  for (const SilentCase& c : cases) {
    SCOPED_TRACE(c.name);
    CDemoMachine machine;
    c.prepare(machine);
    MachineSnapshot before = machine.Snapshot();
    ProgramRun run = machine.Uninst(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, "") << "an unattended run prints nothing unless asked";
    EXPECT_EQ(run.err, "");
    MachineDiff got = Compare(before, machine.Snapshot());
    MachineDiff want = Expected(c);
    EXPECT_EQ(got.removed, want.removed);
    EXPECT_EQ(got.added, want.added);
    EXPECT_EQ(got.changed, want.changed);
    EXPECT_EQ(got.keysRemoved, want.keysRemoved);
    EXPECT_EQ(got.keysAdded, want.keysAdded);
    if (c.exitWindows) {
      EXPECT_NE(machine.Read("exitwindows.log").find(c.exitWindows), std::string::npos) << machine.Read("exitwindows.log");
    }
  }
}

TEST(SilentRun, StrikesWhatItRemovedAndNeedsNoRestartForFilesAlreadyGone) {
  CDemoMachine machine;
  machine.WithoutRootLevelKeys();
  // The Player's shortcuts are listed by its prefix line and again by the Samples' whole group,
  // so their second deletion finds them gone and only puts them on the restart-time list.
  ProgramRun run = machine.Uninst("--silent --select Player,Samples");
  EXPECT_EQ(run.status, 0) << "no line of the restart-time list names a file that is still there\n" << run.err;
  std::string wininit = machine.Read("drive_c/WINDOWS/wininit.ini");
  EXPECT_NE(wininit.find("NULL=C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7\\CAPTUR~1.LNK"), std::string::npos) << wininit;
  std::string state = machine.Read("drive_c/Capture/uninstin.ini");
  EXPECT_NE(state.find("Driver=1"), std::string::npos) << state;
  EXPECT_NE(state.find("Editor=1"), std::string::npos) << state;
  EXPECT_EQ(state.find("Player="), std::string::npos) << state;
  EXPECT_EQ(state.find("Samples="), std::string::npos) << state;
}

TEST(SilentRun, NothingTickedStopsByTheQuestionsDefault) {
  CDemoMachine machine;
  for (const char* package : {"Driver", "Player", "Editor"})
    ASSERT_EQ(machine.Tool(std::string("ini write %m 'C:\\Capture\\uninstin.ini' Packages ") + package + " 0").status, 0);
  MachineSnapshot before = machine.Snapshot();
  // "Do you want to stop the uninstallation?" has Yes as its default button.
  ProgramRun run = machine.Uninst("--silent");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(machine.Snapshot(), before);
}

}  // namespace
