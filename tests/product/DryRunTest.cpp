// The preview: a dry run goes through the whole flow, leaves every byte of the machine as it
// was, ends with the status the real run then ends with, and lists exactly what the real run
// then removes and schedules, in the same order.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "tests/product/ProductMachine.h"

namespace {

struct Step {
  std::string verb;  // "remove", "schedule", "create", "request", "fail to remove"...
  std::string item;
  bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& step) { return out << step.verb << " | " << step.item; }

// The changes a log names, as the verb in its base form and the item. A real run's log says
// "removed X", "could not remove X: why"; a dry run's "would remove X", "would fail to remove X: why".
std::vector<Step> StepsOf(const std::string& log, bool dryRun) {
  static const std::pair<const char*, const char*> kVerbs[] = {{"removed", "remove"}, {"scheduled", "schedule"},
                                                               {"created", "create"}, {"requested", "request"},
                                                               {"added", "add"},     {"moved", "move"},
                                                               {"set", "set"}};
  std::vector<Step> steps;
  for (const std::string& line : LogLines(log)) {
    if (line.starts_with("uninst ")) continue;  // the start and end of the run
    std::string rest = line;
    std::string failed;
    if (dryRun) {
      EXPECT_TRUE(rest.starts_with("would ")) << line;
      rest = rest.substr(6);
      if (rest.starts_with("fail to ")) {
        failed = "fail to ";
        rest = rest.substr(8);
      }
      size_t space = rest.find(' ');
      steps.push_back({failed + rest.substr(0, space), rest.substr(space + 1)});
      continue;
    }
    if (rest.starts_with("could not ")) {
      rest = rest.substr(10);
      size_t space = rest.find(' ');
      steps.push_back({"fail to " + rest.substr(0, space), rest.substr(space + 1)});
      continue;
    }
    size_t space = rest.find(' ');
    std::string verb = rest.substr(0, space);
    for (const auto& [past, base] : kVerbs)
      if (verb == past) verb = base;
    steps.push_back({verb, rest.substr(space + 1)});
  }
  return steps;
}

// The groups of a dry run's list: heading -> items, and the headings in their order.
struct Listing {
  std::vector<std::string> headings;
  std::map<std::string, std::vector<std::string>> items;
};

Listing ListingOf(const std::string& out) {
  Listing listing;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "Dry run: nothing was changed. The run would remove or schedule:");
  while (std::getline(lines, line)) {
    if (line.starts_with("  ")) {
      EXPECT_FALSE(listing.headings.empty()) << line;
      if (line != "  (none)" && !listing.headings.empty()) listing.items[listing.headings.back()].push_back(line.substr(2));
      continue;
    }
    EXPECT_TRUE(line.ends_with(":")) << line;
    listing.headings.push_back(line.substr(0, line.size() - 1));
  }
  return listing;
}

std::string Read(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

struct PreviewCase {
  const char* name;
  std::function<void(const CDemoMachine&)> prepare;
  const char* args;
};

TEST(DryRun, ChangesNothingAndListsWhatTheRealRunThenDoes) {
  auto nothing = [](const CDemoMachine&) {};
  auto removable = [](const CDemoMachine& m) { m.WithoutRootLevelKeys(); };
  auto restartable = [](const CDemoMachine& m) {
    m.WithoutRootLevelKeys();
    m.WithoutDeviceEntries();
  };
  const PreviewCase cases[] = {
      {"StateFileSelection", nothing, "--silent"},
      {"HardwarePackage", nothing, "--silent --select Driver"},
      {"All", removable, "--silent --select all"},
      // The preview of a restart works through the restart-time list as the next start would.
      {"AllWithRestart", restartable, "--silent --select all --restart"},
  };
  const std::vector<std::string> kHeadings = {"Files and folders",  "INI entries",       "Registry keys and values",
                                              "Device entries",     "Restart-time lines", "The Uninstall key",
                                              "Could not be removed", "Other changes"};
  for (const PreviewCase& c : cases) {
    SCOPED_TRACE(c.name);
    CDemoMachine machine;
    c.prepare(machine);
    CTempDir logs;
    const std::string dryLog = logs.Path() + "/dry.log";
    const std::string realLog = logs.Path() + "/real.log";
    MachineSnapshot before = machine.Snapshot();
    ProgramRun dry = machine.Uninst(std::string(c.args) + " --dry-run --log " + Quoted(dryLog));
    EXPECT_EQ(machine.Snapshot(), before) << "a dry run changes no byte of the machine";

    ProgramRun real = machine.Uninst(std::string(c.args) + " --log " + Quoted(realLog));
    EXPECT_EQ(dry.status, real.status) << dry.err << real.err;
    std::vector<Step> previewed = StepsOf(Read(dryLog), true);
    std::vector<Step> done = StepsOf(Read(realLog), false);
    EXPECT_EQ(previewed, done);

    Listing listing = ListingOf(dry.out);
    EXPECT_EQ(listing.headings, kHeadings);
    std::vector<std::string> listed;
    for (size_t i = 0; i + 2 < kHeadings.size(); ++i)
      for (const std::string& item : listing.items[kHeadings[i]]) listed.push_back(item);
    std::vector<std::string> removedOrScheduled;
    for (const Step& step : done)
      if (step.verb == "remove" || step.verb == "schedule") removedOrScheduled.push_back(step.item);
    std::sort(listed.begin(), listed.end());
    std::sort(removedOrScheduled.begin(), removedOrScheduled.end());
    EXPECT_EQ(listed, removedOrScheduled);
  }
}

TEST(DryRun, ListGroupsAndFormat) {
  CDemoMachine machine;
  ProgramRun dry = machine.Uninst("--silent --select all --dry-run");
  ASSERT_EQ(dry.status, 6) << dry.err;
  Listing listing = ListingOf(dry.out);
  auto has = [&](const std::string& heading, const std::string& item) {
    const std::vector<std::string>& items = listing.items[heading];
    return std::find(items.begin(), items.end(), item) != items.end();
  };
  EXPECT_TRUE(has("Files and folders", "file C:\\WINDOWS\\SYSTEM\\tk7cap.drv (36864 bytes)")) << dry.out;
  EXPECT_TRUE(has("Files and folders", "folder C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7")) << dry.out;
  // Shortcuts are named as the machine spells them, not by the short names the search gave.
  EXPECT_TRUE(has("Files and folders", "file C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7\\Board Setup.lnk (312 bytes)"))
      << dry.out;
  EXPECT_TRUE(has("INI entries", "INI entry C:\\WINDOWS\\system.ini [drivers] VIDC.TK7C=tk7cap.drv")) << dry.out;
  EXPECT_TRUE(has("INI entries", "INI section C:\\WINDOWS\\win.ini [Kalvora Player]")) << dry.out;
  EXPECT_TRUE(has("INI entries", "INI entry C:\\Capture\\uninstin.ini [Packages] Samples=0")) << dry.out;
  EXPECT_TRUE(has("Registry keys and values", "registry key HKEY_LOCAL_MACHINE\\Software\\Kalvora\\TK7 Driver")) << dry.out;
  EXPECT_TRUE(has("Device entries",
                  "registry key HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\msvideo\\TK7CAP.DRV"))
      << dry.out;
  EXPECT_TRUE(has("Device entries", "registry key HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1A2B&DEV_7007\\BUS_00&DEV_0D&FUNC_00"))
      << dry.out;
  EXPECT_TRUE(has("Restart-time lines", "restart-time line C:\\WINDOWS\\wininit.ini [Rename] NULL=C:\\Capture\\uninst.exe"))
      << dry.out;
  EXPECT_TRUE(has("The Uninstall key",
                  "registry key HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalvora TK7/TK5"))
      << dry.out;
  EXPECT_TRUE(has("Could not be removed",
                  "would fail to remove registry key HKEY_CLASSES_ROOT\\.tkv: error 1010 (bad registry key)"))
      << dry.out;
  const std::vector<std::string>& other = listing.items["Other changes"];
  EXPECT_TRUE(std::any_of(other.begin(), other.end(),
                          [](const std::string& item) { return item.starts_with("would create file C:\\WINDOWS\\wininit.ini ("); }))
      << "the first restart-time line makes the file\n"
      << dry.out;
}

TEST(DryRun, PredictsWhatWouldFailAndSchedulesItAsTheRealRunDoes) {
  CDemoMachine machine;
  machine.WithoutRootLevelKeys();
  // A read-only file opens but cannot be deleted: the pass schedules it for the next start.
  const std::string readOnly = machine.Host("drive_c/Program Files/Kalvora/Editor/tkedit.exe");
  ASSERT_EQ(RunCommand("chmod a-w " + Quoted(readOnly)), 0);
  MachineSnapshot before = machine.Snapshot();
  ProgramRun dry = machine.Uninst("--silent --select Editor --dry-run");
  EXPECT_EQ(dry.status, 6) << dry.err;
  EXPECT_EQ(machine.Snapshot(), before);
  Listing listing = ListingOf(dry.out);
  EXPECT_EQ(listing.items["Could not be removed"],
            std::vector<std::string>{
                "would fail to remove file C:\\Program Files\\Kalvora\\Editor\\tkedit.exe (196608 bytes): error 5 "
                "(access denied)"})
      << dry.out;
  EXPECT_EQ(listing.items["Restart-time lines"],
            std::vector<std::string>{
                "restart-time line C:\\WINDOWS\\wininit.ini [Rename] NULL=C:\\Program Files\\Kalvora\\Editor\\tkedit.exe"})
      << dry.out;
  ProgramRun real = machine.Uninst("--silent --select Editor");
  EXPECT_EQ(real.status, 6) << real.err;
  EXPECT_NE(machine.Read("drive_c/WINDOWS/wininit.ini").find("NULL=C:\\Program Files\\Kalvora\\Editor\\tkedit.exe"),
            std::string::npos);
}

TEST(DryRun, WithTheDialogsShownChangesNothingEither) {
  CDemoMachine machine;
  CTempDir dir;
  const std::string script = dir.Path() + "/actions.txt";
  // Every package, on past the hardware warning, and a restart chosen in the restart dialog.
  std::ofstream(script) << "check 1004\nclick 1010\nanswer IDOK\nclick 1019\nclick 1\n";
  MachineSnapshot before = machine.Snapshot();
  ProgramRun dry = machine.Uninst("--dry-run --script " + Quoted(script) + " --transcript " +
                                  Quoted(dir.Path() + "/transcript.jsonl"));
  EXPECT_EQ(dry.status, 6) << dry.err;
  EXPECT_EQ(machine.Snapshot(), before);
  EXPECT_NE(Read(dir.Path() + "/transcript.jsonl").find("\"event\":\"exitwindows\""), std::string::npos)
      << "the front end shows the restart request";
  Listing listing = ListingOf(dry.out);
  EXPECT_NE(std::find(listing.items["Other changes"].begin(), listing.items["Other changes"].end(),
                      "would request a restart of the machine"),
            listing.items["Other changes"].end())
      << dry.out;
  // The restart's work on what the run would have left: the uninstaller's own files, which the
  // run could only schedule, go at the next start.
  const std::vector<std::string>& files = listing.items["Files and folders"];
  EXPECT_NE(std::find(files.begin(), files.end(), "file C:\\Capture\\uninst.exe (48640 bytes)"), files.end()) << dry.out;
}

}  // namespace
