// The registry database under load: other processes, crashes, syncs and enumeration positions.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "platform/HostMachine.h"
#include "platform/RegTransaction.h"
#include "platform/Registry.h"
#include "platform/RegistryRoots.h"
#include "platform/TextCase.h"
#include "tests/registry/RegistryTestUtil.h"
#include "tests/support/TestMachine.h"

namespace {
std::atomic<int> g_syncs{0};

template <typename Fn>
Fn RealFunction(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}
}  // namespace

// Every sync of the process is counted, so a test can see how many a run of changes costs.
extern "C" int fdatasync(int fd) {
  static auto real = RealFunction<int (*)(int)>("fdatasync");
  ++g_syncs;
  return real(fd);
}
extern "C" int fsync(int fd) {
  static auto real = RealFunction<int (*)(int)>("fsync");
  ++g_syncs;
  return real(fd);
}

namespace {

constexpr RegKeyId kLocalMachine = 3;

// Runs `body` in a child process; returns its exit status (or 128 + signal).
template <typename Body>
pid_t Spawn(Body body) {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ReadString(IMachine& machine, RegKeyId key, std::string_view name) {
  RegValue value;
  return machine.RegQueryValue(key, name, &value).IsOk() ? value.data : "<missing>";
}

class RegistryStore : public ::testing::Test {
 protected:
  IMachine& Machine() { return m_machine.Machine(); }
  RegKeyId Key(std::string_view path) {
    RegKeyId key = 0;
    EXPECT_TRUE(Machine().RegCreateKey(kLocalMachine, path, &key).IsOk()) << path;
    return key;
  }
  CTestMachine m_machine;
};

TEST_F(RegistryStore, TwoProcessesChangeOneMachineAtOnce) {
  RegKeyId shared = Key("Shared");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const std::string root = m_machine.Root();
  pid_t child = Spawn([&] {
    CHostMachine machine(root);
    RegKeyId key = 0;
    if (!machine.RegOpenKey(kLocalMachine, "Shared", &key).IsOk()) return 1;
    // Hold a transaction open for a while: the parent's writes must wait for it, not fail.
    if (!machine.RegBeginTransaction().IsOk()) return 2;
    if (!machine.RegSetValue(key, "held", RegValue{REG_SZ, std::string("child", 6)}).IsOk()) return 3;
    if (::write(ready[1], "x", 1) != 1) return 4;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    if (!machine.RegCommitTransaction().IsOk()) return 5;
    for (int i = 0; i < 200; ++i) {
      RegKeyId sub = 0;
      if (!machine.RegCreateKey(key, "child" + std::to_string(i), &sub).IsOk()) return 6;
      if (!machine.RegSetValue(sub, "n", RegValue{REG_DWORD, std::string(4, char(i))}).IsOk()) return 7;
    }
    return 0;
  });
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Machine().RegSetValue(shared, "parent", RegValue{REG_SZ, std::string("p", 2)}).IsOk());
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200))
      << "did not wait for the child";
  for (int i = 0; i < 200; ++i) {
    RegKeyId sub = 0;
    ASSERT_TRUE(Machine().RegCreateKey(shared, "parent" + std::to_string(i), &sub).IsOk()) << i;
  }
  ASSERT_EQ(Wait(child), 0);
  ::close(ready[0]);
  ::close(ready[1]);
  EXPECT_EQ(ReadString(Machine(), shared, "held"), std::string("child", 6));
  std::string name;
  DWORD count = 0;
  while (Machine().RegEnumKey(shared, count, &name).IsOk()) ++count;
  EXPECT_EQ(count, 400u);
}

TEST_F(RegistryStore, ACommittedChangeSurvivesTheProcessBeingKilled) {
  const std::string root = m_machine.Root();
  pid_t child = Spawn([&] {
    CHostMachine machine(root);
    RegKeyId key = 0;
    if (!machine.RegCreateKey(kLocalMachine, "Crash\\Kept", &key).IsOk()) return 1;
    if (!machine.RegSetValue(key, "v", RegValue{REG_SZ, std::string("yes", 4)}).IsOk()) return 2;
    if (!machine.RegBeginTransaction().IsOk()) return 3;
    if (!machine.RegSetValue(key, "uncommitted", RegValue{REG_SZ, std::string("no", 3)}).IsOk()) return 4;
    ::raise(SIGKILL);
    return 5;
  });
  ASSERT_EQ(Wait(child), 128 + SIGKILL);
  RegKeyId key = 0;
  ASSERT_TRUE(Machine().RegOpenKey(kLocalMachine, "Crash\\Kept", &key).IsOk());
  EXPECT_EQ(ReadString(Machine(), key, "v"), std::string("yes", 4));
  EXPECT_EQ(ReadString(Machine(), key, "uncommitted"), "<missing>");
}

TEST_F(RegistryStore, ThousandsOfChangesCostAHandfulOfSyncs) {
  HKEY parent = MakeKey(HKEY_LOCAL_MACHINE, "Many");
  g_syncs = 0;
  for (int i = 0; i < 3000; ++i) {
    HKEY key = MakeKey(parent, ("Key" + std::to_string(i)).c_str());
    SetString(key, "Value", "data " + std::to_string(i));
    ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  }
  const int beforeSync = g_syncs;
  ASSERT_TRUE(Machine().RegSync().IsOk());
  const int afterSync = g_syncs;
  RegCloseKey(parent);
  EXPECT_LE(afterSync, 8) << "6000 changes should not sync one by one";
  EXPECT_GT(afterSync, beforeSync) << "a sync must reach the disk";
}

TEST_F(RegistryStore, EnumerationSeesAnotherConnectionsDeletion) {
  RegKeyId parent = Key("Walk");
  for (const char* name : {"k0", "k1", "k2", "k3", "k4"}) Key(std::string("Walk\\") + name);
  std::string name;
  ASSERT_TRUE(Machine().RegEnumKey(parent, 0, &name).IsOk());
  ASSERT_TRUE(Machine().RegEnumKey(parent, 1, &name).IsOk());
  EXPECT_EQ(name, "k1");
  CHostMachine other(m_machine.Root());
  ASSERT_TRUE(other.RegDeleteKey(kLocalMachine, "Walk\\k0").IsOk());
  ASSERT_TRUE(Machine().RegEnumKey(parent, 2, &name).IsOk());
  EXPECT_EQ(name, "k3");
  ASSERT_TRUE(other.RegCreateKey(kLocalMachine, "Walk\\a", &parent).IsOk());
  ASSERT_TRUE(Machine().RegEnumKey(Key("Walk"), 3, &name).IsOk());
  EXPECT_EQ(name, "k3");
}

// Enumeration remembers where it stood; a long random mix of creations, deletions and
// enumerations must always agree with a plain sorted list.
TEST_F(RegistryStore, EnumerationAgreesWithASortedListThroughChanges) {
  RegKeyId parent = Key("Model");
  std::map<std::string, std::string> model;  // upper-cased name -> name as created
  std::mt19937 random(7);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int step = 0; step < 3000; ++step) {
    int what = pick(10);
    if (what < 4) {
      std::string name = std::string(1, "abcdeABCDE_["[pick(12)]) + std::to_string(pick(40));
      RegKeyId key = 0;
      ASSERT_TRUE(Machine().RegCreateKey(parent, name, &key).IsOk());
      model.try_emplace(AsciiUpper(name), name);
    } else if (what < 6 && !model.empty()) {
      auto it = std::next(model.begin(), pick(static_cast<int>(model.size())));
      ASSERT_TRUE(Machine().RegDeleteKey(parent, it->first).IsOk());
      model.erase(it);
    } else {
      DWORD index = static_cast<DWORD>(pick(static_cast<int>(model.size()) + 2));
      std::string name;
      Status status = Machine().RegEnumKey(parent, index, &name);
      if (index < model.size()) {
        ASSERT_TRUE(status.IsOk()) << step;
        ASSERT_EQ(name, std::next(model.begin(), index)->second) << "step " << step << " index " << index;
      } else {
        ASSERT_EQ(status.Code(), ERROR_NO_MORE_ITEMS) << step;
      }
    }
  }
}

TEST_F(RegistryStore, ATransactionTakesEffectWholeOrNotAtAll) {
  RegKeyId key = 0;
  {
    CRegTransaction transaction(Machine());
    ASSERT_TRUE(transaction.Begin().IsOk());
    EXPECT_EQ(Machine().RegBeginTransaction().Code(), ERROR_INVALID_FUNCTION);  // no nesting
    ASSERT_TRUE(Machine().RegCreateKey(kLocalMachine, "Tx\\Dropped", &key).IsOk());
    EXPECT_EQ(Machine().RegSync().Code(), ERROR_INVALID_FUNCTION);
    // A failing change inside the transaction undoes only itself.
    EXPECT_EQ(
        Machine().RegSetValue(key, std::string(300, 'n'), RegValue{REG_SZ, std::string(1, '\0')}).Code(),
        ERROR_INVALID_PARAMETER);
  }  // rolled back
  EXPECT_EQ(Machine().RegOpenKey(kLocalMachine, "Tx", &key).Code(), ERROR_FILE_NOT_FOUND);
  CRegTransaction transaction(Machine());
  ASSERT_TRUE(transaction.Begin().IsOk());
  ASSERT_TRUE(Machine().RegCreateKey(kLocalMachine, "Tx\\Kept", &key).IsOk());
  ASSERT_TRUE(transaction.Commit().IsOk());
  CHostMachine other(m_machine.Root());
  EXPECT_TRUE(other.RegOpenKey(kLocalMachine, "tx\\kept", &key).IsOk());
}

TEST_F(RegistryStore, ADamagedDatabaseFailsCleanly) {
  CTestMachine damaged(false);
  std::ofstream(damaged.Host("registry.db")) << std::string(4096, 'x');
  RegKeyId key = 0;
  EXPECT_EQ(damaged.Machine().RegOpenKey(kLocalMachine, "Software", &key).Code(), ERROR_BADDB);
  EXPECT_EQ(damaged.Machine().RegCreateKey(kLocalMachine, "Software", &key).Code(), ERROR_BADDB);
}

}  // namespace
