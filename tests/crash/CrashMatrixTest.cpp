// Crashes at every step. For every change that an uninstallation of the demo machine makes: a
// run in which that change fails, one killed right after it, and for each file write one killed
// inside it. After each run every file of the machine is the one that the changes made so far
// explain, byte for byte (no file is torn), registry.db passes SQLite's integrity check, and a
// second run and the machine's next start end well and leave nothing that is neither as before
// nor as after a whole uninstallation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/crash/CrashCase.h"

namespace {

using ::testing::IsEmpty;

std::string Joined(const std::vector<std::string>& lines, size_t most = 8) {
  std::string text;
  for (size_t i = 0; i < lines.size() && i < most; ++i) text += (i ? "; " : "") + lines[i];
  if (lines.size() > most) text += "; and " + std::to_string(lines.size() - most) + " more";
  return text;
}

// The index of the clean run's first write of `path`, or 0.
unsigned FirstWrite(const CrashReference& ref, const std::string& path) {
  for (const JournalEntry& entry : ref.clean)
    if (entry.call == ChangeCall::WriteFile && entry.path == path) return entry.index;
  return 0;
}

// The changes from the first package struck from the state file up to the restart-time list: a
// struck package counts as removed, so a run killed in between leaves the struck packages'
// files that the deletion pass had not reached yet, and the uninstaller's own files, and no
// later run removes them.
struct StruckWindow {
  unsigned first = 0;  // the first strike
  unsigned end = 0;    // the write of wininit.ini that schedules the uninstaller's own files
  bool Contains(unsigned k) const { return k >= first && k < end; }
};

StruckWindow WindowOf(const CrashReference& ref) {
  return {FirstWrite(ref, "drive_c/Capture/uninstin.ini"), FirstWrite(ref, "drive_c/WINDOWS/wininit.ini")};
}

void Report(Fault fault, const JournalEntry& change, const CaseOutcome& out) {
  if (out.leftBehind.empty() && out.notes.empty()) return;
  std::cout << "[ crash    ] " << FaultName(fault) << " " << change.Describe();
  if (!out.leftBehind.empty()) std::cout << ": left " << Joined(out.leftBehind, 4);
  if (!out.notes.empty()) std::cout << " (" << Joined(out.notes) << ")";
  std::cout << "\n";
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(CrashMatrix, TheRunWithoutFaultsLeavesWhatItsChangesExplain) {
  const CrashReference& ref = TheCrashReference();
  ASSERT_THAT(ref.clean, ::testing::Not(IsEmpty()));
  CaseOutcome out = RunCase(ref, Fault::None, 0);
  EXPECT_THAT(out.failures, IsEmpty());
  EXPECT_THAT(out.leftBehind, IsEmpty());
  // The matrix reaches every kind of change the program makes to the demo machine.
  for (ChangeCall call :
       {ChangeCall::WriteFile, ChangeCall::DeleteFile, ChangeCall::RemoveDirectory, ChangeCall::RegDeleteKey,
        ChangeCall::RegBegin, ChangeCall::RegCommit, ChangeCall::RegSync, ChangeCall::ExitWindows}) {
    bool made = false;
    for (const JournalEntry& entry : ref.clean) made = made || entry.call == call;
    EXPECT_TRUE(made) << ChangeCallName(call);
  }
  StruckWindow window = WindowOf(ref);
  EXPECT_GT(window.first, 0u);
  EXPECT_GT(window.end, window.first);
  std::cout << "[ crash    ] a clean uninstallation of the demo makes " << ref.clean.size() << " changes\n";
}

// The clean run's change numbered `k`.
const JournalEntry& ChangeAt(const CrashReference& ref, unsigned k) {
  for (const JournalEntry& entry : ref.clean)
    if (entry.index == k) return entry;
  throw std::out_of_range("no change " + std::to_string(k));
}

// Runs `fault` at every change for which `wanted` holds and checks each outcome with `check`;
// returns the outcomes by change number.
template <class Wanted, class Check>
std::map<unsigned, CaseOutcome> RunMatrix(Fault fault, Wanted&& wanted, Check&& check) {
  const CrashReference& ref = TheCrashReference();
  std::vector<CrashCase> cases;
  for (const JournalEntry& change : ref.clean)
    if (wanted(change)) cases.push_back({fault, change.index});
  const auto start = std::chrono::steady_clock::now();
  const std::vector<CaseOutcome> outcomes = RunCases(ref, cases);
  const double seconds = SecondsSince(start);
  for (size_t i = 0; i < cases.size(); ++i) {
    const JournalEntry& change = ChangeAt(ref, cases[i].k);
    EXPECT_THAT(outcomes[i].failures, IsEmpty()) << FaultName(fault) << " " << change.Describe();
    check(change, outcomes[i]);
    Report(fault, change, outcomes[i]);
  }
  std::cout << "[ crash    ] " << cases.size() << " runs (" << FaultName(fault)
            << "), each with a second run and the next start, in " << seconds << " s\n";
  std::map<unsigned, CaseOutcome> byChange;
  for (size_t i = 0; i < cases.size(); ++i) byChange[cases[i].k] = outcomes[i];
  return byChange;
}

// The registry changes between the opening of a transaction and its commit: none of them is
// seen by a run killed before the commit, all of them by one killed after it.
void CheckTransactions(const CrashReference& ref, const std::map<unsigned, CaseOutcome>& killed) {
  std::map<unsigned, ChangeCall> calls;
  for (const JournalEntry& entry : ref.clean) calls[entry.index] = entry.call;
  for (const auto& [begin, call] : calls) {
    if (call != ChangeCall::RegBegin) continue;
    auto commit = calls.upper_bound(begin);
    while (commit != calls.end() && commit->second != ChangeCall::RegCommit) ++commit;
    ASSERT_NE(commit, calls.end()) << "a transaction opened at change " << begin << " is never committed";
    const auto& opened = killed.at(begin).keysAfterRun;
    EXPECT_THAT(KeyDifferences(killed.at(begin - 1).keysAfterRun, opened), IsEmpty())
        << "opening the transaction at " << begin;
    for (unsigned k = begin + 1; k < commit->first; ++k)
      EXPECT_THAT(KeyDifferences(opened, killed.at(k).keysAfterRun), IsEmpty())
          << "killed after " << k << ", inside the transaction opened at " << begin;
    EXPECT_THAT(KeyDifferences(opened, killed.at(commit->first).keysAfterRun), ::testing::Not(IsEmpty()))
        << "the commit at " << commit->first << " made none of its changes";
  }
}

bool Every(const JournalEntry&) { return true; }
void NothingMore(const JournalEntry&, const CaseOutcome&) {}

// A change that fails is a change not made; the run goes on as on the host, and what the
// change would have removed may stay (its package is struck all the same).
TEST(CrashMatrix, EveryChangeFails) { RunMatrix(Fault::Fail, Every, NothingMore); }

// Outside the window between the first strike and the restart-time list, a second run and the
// next start finish what the killed run began. A registry transaction is all or nothing.
TEST(CrashMatrix, KilledRightAfterEveryChange) {
  const StruckWindow window = WindowOf(TheCrashReference());
  auto killed = RunMatrix(Fault::KillAfter, Every, [&](const JournalEntry& change, const CaseOutcome& out) {
    if (!window.Contains(change.index)) {
      EXPECT_THAT(out.leftBehind, IsEmpty()) << change.Describe();
    }
  });
  CheckTransactions(TheCrashReference(), killed);
  std::cout << "[ crash    ] changes " << window.first << " to " << window.end - 1
            << " come after a package is struck and before its files are gone or scheduled\n";
}

TEST(CrashMatrix, KilledInsideEveryFileWrite) {
  RunMatrix(
      Fault::KillInWrite, [](const JournalEntry& change) { return change.call == ChangeCall::WriteFile; }, NothingMore);
}

}  // namespace
