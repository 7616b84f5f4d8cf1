// The runs of one crash case and the judgement of the machines they leave.
#include "tests/crash/CrashCase.h"

#include <atomic>
#include <csignal>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <type_traits>

#include "tests/support/TestMachine.h"

const char* const kCrashScript = "check 1004\nclick 1010\nanswer IDOK\nclick 1019\nclick 1\n";

namespace {

constexpr const char* kCommandLine = "\"C:\\Capture\\uninst.exe\"";
constexpr const char* kProgram = "/drive_c/Capture/uninst.exe";
constexpr const char* kWininit = "drive_c/WINDOWS/wininit.ini";
constexpr const char* kBackup = "drive_c/WINDOWS/wininit.bak";
constexpr unsigned kParallelRuns = 4;

// A report of a sanitizer or of the C++ runtime: the program went wrong even where its exit
// status looks like one of its own.
bool ReportsAFault(const ProgramEnd& end) {
  for (const char* sign : {"AddressSanitizer", "LeakSanitizer", "runtime error:", "terminate called"})
    if (end.err.find(sign) != std::string::npos) return true;
  return false;
}

std::vector<std::string> FaultArgs(Fault fault, unsigned k) {
  switch (fault) {
    case Fault::None: return {};
    case Fault::Fail: return {"--fail", std::to_string(k)};
    case Fault::KillAfter: return {"--kill-after", std::to_string(k)};
    case Fault::KillInWrite: return {"--kill-in-write", std::to_string(k)};
  }
  return {};
}

struct FaultedRun {
  ProgramEnd end;
  std::vector<JournalEntry> journal;
  std::string journalError;
};

FaultedRun RunFaulted(const std::string& work, const std::string& machine, Fault fault, unsigned k) {
  const std::string script = work + "/script.txt";
  std::ofstream(script) << kCrashScript;
  std::vector<std::string> argv = {CRASH_RUN_PATH, "--machine", machine, "--command-line", kCommandLine,
                                   "--script", script, "--transcript", work + "/transcript.jsonl",
                                   "--journal", work + "/journal.txt"};
  for (std::string& arg : FaultArgs(fault, k)) argv.push_back(std::move(arg));
  FaultedRun run;
  run.end = RunProgram(argv);
  if (Status read = CChangeJournal::Read(work + "/journal.txt", &run.journal); !read)
    run.journalError = read.ToString();
  return run;
}

bool SameChange(const JournalEntry& a, const JournalEntry& b) {
  return a.call == b.call && a.path == b.path && a.target == b.target && a.result == b.result && a.bytes == b.bytes;
}

// Where the change numbered `k` returned in the clean run: changes are journalled as they
// return, so a restart's boot step comes before the restart itself.
size_t PositionOf(const std::vector<JournalEntry>& journal, unsigned k) {
  for (size_t i = 0; i < journal.size(); ++i)
    if (journal[i].index == k) return i;
  return journal.size();
}

// The clean run's changes that the faulted run must have made as well, in the order they
// returned: all of them without a fault, up to and with change k when killed after it, those
// that had returned before change k began when it fails or is killed inside.
std::vector<JournalEntry> SharedChanges(const CrashReference& ref, Fault fault, unsigned k) {
  const size_t position = PositionOf(ref.clean, k);
  std::vector<JournalEntry> shared;
  for (size_t i = 0; i < ref.clean.size(); ++i) {
    const JournalEntry& entry = ref.clean[i];
    bool made = fault == Fault::None || (fault == Fault::KillAfter ? i <= position : i < position && entry.index < k);
    if (made) shared.push_back(entry);
  }
  return shared;
}

// The run took the path of the run without faults up to the fault, and ended as the fault says.
void CheckFaultedRun(const CrashReference& ref, Fault fault, unsigned k, const FaultedRun& run, CaseOutcome& out) {
  const bool killed = fault == Fault::KillAfter || fault == Fault::KillInWrite;
  if (killed && (run.end.exited || run.end.signal != SIGKILL))
    out.failures.push_back("the run was not killed: " + run.end.Describe());
  if (!killed && (!run.end.exited || run.end.code != 0 || ReportsAFault(run.end)))
    out.failures.push_back("the run did not end well: " + run.end.Describe());
  if (!run.journalError.empty()) out.failures.push_back("journal: " + run.journalError);
  const std::vector<JournalEntry> shared = SharedChanges(ref, fault, k);
  for (size_t i = 0; i < shared.size(); ++i) {
    if (i >= run.journal.size() || !SameChange(run.journal[i], shared[i])) {
      out.failures.push_back("the run's changes part from the clean run's at " + shared[i].Describe() + ": " +
                             (i < run.journal.size() ? run.journal[i].Describe() : "no change"));
      return;
    }
  }
  if (fault != Fault::Fail && run.journal.size() != shared.size())
    out.failures.push_back("the run made a change after its end: " + run.journal[shared.size()].Describe());
  if (fault != Fault::Fail) return;
  size_t failed = PositionOf(run.journal, k);
  const JournalEntry& planned = ref.clean[PositionOf(ref.clean, k)];
  if (failed == run.journal.size() || !run.journal[failed].injected || run.journal[failed].call != planned.call ||
      run.journal[failed].path != planned.path)
    out.failures.push_back("change " + std::to_string(k) + " was not the one made to fail, " + planned.Describe());
}

// Every text a file was given by a run through the machine seam.
using Versions = std::map<std::string, std::set<std::string>>;

void AddVersions(const std::vector<JournalEntry>& journal, Versions& versions) {
  for (const JournalEntry& entry : journal)
    if (entry.call == ChangeCall::WriteFile && entry.result == ERROR_SUCCESS) versions[entry.path].insert(entry.bytes);
}

std::string Directory(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

// A write killed before its rename leaves the old file and the temporary file beside it with
// the new bytes; that file is the one item the journal cannot know of.
Versions TemporaryOfKilledWrite(const JournalEntry& write, FileTree& expected, const FileTree& actual,
                                CaseOutcome& out) {
  Versions extra;
  const std::string prefix = Directory(write.path) + "." + write.path.substr(write.path.rfind('/') + 1) + ".";
  for (const auto& [path, item] : actual.items) {
    if (expected.items.contains(path) || !path.starts_with(prefix) || path.size() != prefix.size() + 6) continue;
    if (item != write.bytes) out.failures.push_back("the temporary file " + path + " does not hold the new bytes");
    if (item) extra[path].insert(*item);
    expected.items[path] = item;
  }
  if (extra.size() != 1) {
    out.failures.push_back("a killed write of " + write.path + " left " + std::to_string(extra.size()) +
                           " temporary files, not one");
  }
  for (const auto& [path, bytes] : extra) out.notes.push_back("the temporary file of the killed write stays: " + path);
  return extra;
}

// Every file of the machine is one the journal explains, byte for byte; the registry is sound.
// Returns the temporary file of a killed write, the one file the journal cannot explain.
Versions CheckAfterFaultedRun(const CrashReference& ref, Fault fault, unsigned k, const FaultedRun& run,
                              const std::string& machine, CaseOutcome& out) {
  std::vector<std::string> problems;
  FileTree expected = Replay(ref.before, run.journal, &problems);
  for (const std::string& problem : problems) out.failures.push_back("replay: " + problem);
  FileTree actual = ReadFileTree(machine);
  Versions extra;
  if (fault == Fault::KillInWrite)
    extra = TemporaryOfKilledWrite(ref.clean[PositionOf(ref.clean, k)], expected, actual, out);
  for (const std::string& difference : TreeDifferences(expected, actual))
    out.failures.push_back("after the faulted run: " + difference);
  if (std::string integrity = RegistryIntegrity(machine); integrity != "ok")
    out.failures.push_back("after the faulted run, registry.db: " + integrity);
  std::string error;
  out.keysAfterRun = RegistryKeys(machine, &error);
  if (!error.empty()) out.failures.push_back("after the faulted run: " + error);
  return extra;
}

ProgramEnd SecondRun(const std::string& machine) {
  return RunProgram({ToolPath("uninst"), machine + kProgram, "--silent", "--select", "all"});
}

ProgramEnd NextStart(const std::string& machine) { return RunProgram({ToolPath("uninst-machine"), "boot", machine}); }

// A restart-time line may name a file that is gone already: the run that scheduled it, or an
// earlier start, removed it. Any other line that is not carried out is a fault.
bool OnlyGoneFilesNotDone(const ProgramEnd& boot) {
  std::istringstream lines(boot.out);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("not done:")) continue;
    if (line.find("(file not found: ") == std::string::npos && line.find("(path not found: ") == std::string::npos)
      return false;
  }
  return true;
}

// The second run completed (0), had nothing left to do (1) or left files for the next start (5);
// the next start carried out every line whose file was still there.
void CheckRunsAfter(const ProgramEnd& again, const ProgramEnd& boot, CaseOutcome& out) {
  bool wentItsWay = again.exited && (again.code == 0 || again.code == 1 || again.code == 5);
  if (!wentItsWay || ReportsAFault(again)) out.failures.push_back("the second run: " + again.Describe());
  bool booted = boot.exited && (boot.code == 0 || (boot.code == 3 && OnlyGoneFilesNotDone(boot)));
  if (!booted || ReportsAFault(boot)) out.failures.push_back("the next start: " + boot.Describe() + boot.out);
}

template <class Item>
bool IsVersion(const Versions& versions, const std::string& path, const Item& item) {
  if constexpr (std::is_same_v<Item, std::optional<std::string>>) {
    auto found = versions.find(path);
    return item && found != versions.end() && found->second.contains(*item);
  } else {
    return false;
  }
}

// Each item at the end is as done, as before (left behind), or a text a run gave it and left
// there (left behind); an item that was there before and after a whole uninstallation is there.
template <class Item>
void Judge(const std::string& what, const std::map<std::string, Item>& before, const std::map<std::string, Item>& done,
           const std::map<std::string, Item>& final, const Versions& versions, CaseOutcome& out) {
  std::set<std::string> paths;
  for (const auto* items : {&before, &done, &final})
    for (const auto& entry : *items) paths.insert(entry.first);
  for (const std::string& path : paths) {
    auto b = before.find(path);
    auto d = done.find(path);
    auto f = final.find(path);
    const bool inBefore = b != before.end();
    const bool inDone = d != done.end();
    if (f == final.end()) {
      if (inDone && inBefore) out.failures.push_back("lost " + what + " " + path);
      else if (inDone) out.leftBehind.push_back("never written: " + what + " " + path);
      continue;
    }
    if (inDone && f->second == d->second) continue;
    // The record of the last start holds whatever that start worked through.
    if (path == kBackup && IsVersion(versions, path, f->second)) continue;
    if (inBefore && f->second == b->second) out.leftBehind.push_back(what + " " + path);
    else if (IsVersion(versions, path, f->second)) out.leftBehind.push_back(what + " " + path + " as a run wrote it");
    else if (inBefore || inDone) out.failures.push_back(what + " neither as before nor as done: " + path);
    else out.failures.push_back("unexpected " + what + " " + path);
  }
}

void CheckFinal(const CrashReference& ref, const std::string& machine, const Versions& versions, CaseOutcome& out) {
  Judge("file", ref.before.items, ref.done.items, ReadFileTree(machine).items, versions, out);
  std::string error;
  std::map<std::string, std::string> keys = RegistryKeys(machine, &error);
  if (!error.empty()) out.failures.push_back(error);
  Judge("key", ref.keysBefore, ref.keysDone, keys, {}, out);
  if (std::string integrity = RegistryIntegrity(machine); integrity != "ok")
    out.failures.push_back("at the end, registry.db: " + integrity);
}

// The next start keeps the text of wininit.ini it worked through as wininit.bak.
void CheckBackup(const std::optional<std::string>& wininit, const ProgramEnd& boot, const std::string& machine,
                 Versions& versions, CaseOutcome& out) {
  if (!wininit || boot.out.find("nothing to do") != std::string::npos) return;
  if (ReadHostFile(machine + "/" + kBackup) != wininit)
    out.failures.push_back("wininit.bak is not the text the next start worked through");
  versions[kBackup].insert(*wininit);
}

void Require(const ProgramEnd& end, const std::string& what) {
  if (!end.exited || end.code != 0 || ReportsAFault(end)) throw std::runtime_error(what + ": " + end.Describe());
}

}  // namespace

const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::None: return "no fault";
    case Fault::Fail: return "fail";
    case Fault::KillAfter: return "kill after";
    case Fault::KillInWrite: return "kill in write";
  }
  return "?";
}

const CrashReference& TheCrashReference() {
  static CTempDir dir;
  static const CrashReference reference = [] {
    CrashReference made;
    made.demo = dir.Path() + "/demo";
    const std::string tool = ToolPath("uninst-machine");
    Require(RunProgram({tool, "demo", made.demo, "--quiet"}), "uninst-machine demo");
    Require(RunProgram({tool, "ini", "write-section", made.demo, "C:\\Capture\\uninst.ini", "Player Reg",
                        "HKEY_CURRENT_USER#Software\\Kalvora\\Player##=1"}),
            "taking out the root-level registry lines");
    made.before = ReadFileTree(made.demo);
    std::string error;
    made.keysBefore = RegistryKeys(made.demo, &error);
    if (!error.empty()) throw std::runtime_error(error);

    const std::string machine = dir.Path() + "/clean";
    CopyMachine(made.demo, machine);
    FaultedRun run = RunFaulted(dir.Path(), machine, Fault::None, 0);
    Require(run.end, "the run without faults");
    if (!run.journalError.empty()) throw std::runtime_error(run.journalError);
    made.clean = run.journal;
    // After a whole uninstallation and its restart there is nothing left to remove.
    ProgramEnd again = SecondRun(machine);
    if (!again.exited || again.code != 1 || ReportsAFault(again))
      throw std::runtime_error("the second run after the clean run: " + again.Describe());
    Require(NextStart(machine), "the next start after the clean run");
    made.done = ReadFileTree(machine);
    made.keysDone = RegistryKeys(machine, &error);
    if (!error.empty()) throw std::runtime_error(error);
    return made;
  }();
  return reference;
}

std::vector<CaseOutcome> RunCases(const CrashReference& ref, const std::vector<CrashCase>& cases) {
  std::vector<CaseOutcome> outcomes(cases.size());
  std::atomic<size_t> next = 0;
  auto work = [&] {
    for (size_t i = next++; i < cases.size(); i = next++) {
      try {
        outcomes[i] = RunCase(ref, cases[i].fault, cases[i].k);
      } catch (const std::exception& e) {
        outcomes[i].failures.push_back(std::string("the case could not run: ") + e.what());
      }
    }
  };
  // The runs wait on the disk (every profile write and registry sync is synced) far more than
  // they compute, so a few run at once.
  std::vector<std::thread> workers;
  for (unsigned i = 0; i < kParallelRuns; ++i) workers.emplace_back(work);
  for (std::thread& worker : workers) worker.join();
  return outcomes;
}

CaseOutcome RunCase(const CrashReference& ref, Fault fault, unsigned k) {
  CaseOutcome out;
  CTempDir work;
  const std::string machine = work.Path() + "/machine";
  CopyMachine(ref.demo, machine);
  FaultedRun run = RunFaulted(work.Path(), machine, fault, k);
  CheckFaultedRun(ref, fault, k, run, out);
  Versions versions = CheckAfterFaultedRun(ref, fault, k, run, machine, out);
  AddVersions(ref.clean, versions);
  AddVersions(run.journal, versions);
  ProgramEnd again = SecondRun(machine);
  std::optional<std::string> wininit = ReadHostFile(machine + "/" + kWininit);
  ProgramEnd boot = NextStart(machine);
  CheckRunsAfter(again, boot, out);
  CheckBackup(wininit, boot, machine, versions, out);
  CheckFinal(ref, machine, versions, out);
  return out;
}
