// Costs of the registry in a machine of 200,000 keys: opening a key, reading a value,
// deleting a key, and walking a key's subkeys in order.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/RegTransaction.h"
#include "platform/Registry.h"
#include "platform/RegistryRoots.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr int kKeys = 200'000;
constexpr RegKeyId kLocalMachine = 3;

std::string KeyName(const char* prefix, int i) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%06d", prefix, i);
  return name;
}

// Creates `count` keys "Bench\PREFIXnnnnnn" from `first` on, each with a "Path" value, in one
// transaction.
void AddKeys(IMachine& machine, const char* prefix, int first, int count) {
  CRegTransaction transaction(machine);
  if (!transaction.Begin().IsOk()) std::abort();
  RegKeyId parent = 0;
  if (!machine.RegCreateKey(kLocalMachine, "Software\\Bench", &parent).IsOk()) std::abort();
  for (int i = first; i < first + count; ++i) {
    RegKeyId key = 0;
    std::string path = "C:\\Program Files\\Bench\\" + KeyName("file", i) + ".dll";
    if (!machine.RegCreateKey(parent, KeyName(prefix, i), &key).IsOk() ||
        !machine.RegSetValue(key, "Path", RegValue{REG_SZ, path + '\0'}).IsOk())
      std::abort();
  }
  if (!transaction.Commit().IsOk()) std::abort();
}

// One machine of 200,000 keys for the whole run, installed.
CTestMachine& BigMachine() {
  static std::unique_ptr<CTestMachine> machine = [] {
    auto made = std::make_unique<CTestMachine>();
    AddKeys(made->Machine(), "K", 0, kKeys);
    return made;
  }();
  return *machine;
}

std::vector<std::string> RandomKeyPaths(int count) {
  std::mt19937 random(11);
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i)
    paths.push_back("Software\\Bench\\" + KeyName("K", static_cast<int>(random() % kKeys)));
  return paths;
}

void BM_OpenKey(benchmark::State& state) {
  BigMachine();
  const std::vector<std::string> paths = RandomKeyPaths(4096);
  std::size_t i = 0;
  for (auto _ : state) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, paths[i++ % paths.size()].c_str(), &key) != ERROR_SUCCESS)
      std::abort();
    RegCloseKey(key);
  }
}
BENCHMARK(BM_OpenKey)->Unit(benchmark::kMicrosecond);

void BM_QueryValue(benchmark::State& state) {
  BigMachine();
  std::vector<HKEY> keys;
  for (const std::string& path : RandomKeyPaths(1024)) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) std::abort();
    keys.push_back(key);
  }
  std::size_t i = 0;
  for (auto _ : state) {
    char buffer[256];
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(keys[i++ % keys.size()], "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS)
      std::abort();
    benchmark::DoNotOptimize(buffer);
  }
  for (HKEY key : keys) RegCloseKey(key);
}
BENCHMARK(BM_QueryValue)->Unit(benchmark::kMicrosecond);

// Deletes keys that sit among the 200,000; when the spare keys run out they are made again
// outside the timing.
void BM_DeleteKey(benchmark::State& state) {
  constexpr int kSpare = 20'000;
  IMachine& machine = BigMachine().Machine();
  AddKeys(machine, "X", 0, kSpare);
  HKEY parent = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Bench", &parent) != ERROR_SUCCESS) std::abort();
  int next = 0;
  for (auto _ : state) {
    if (next == kSpare) {
      state.PauseTiming();
      AddKeys(machine, "X", 0, kSpare);
      next = 0;
      state.ResumeTiming();
    }
    if (RegDeleteKeyA(parent, KeyName("X", next++).c_str()) != ERROR_SUCCESS) std::abort();
  }
  RegCloseKey(parent);
}
BENCHMARK(BM_DeleteKey)->Unit(benchmark::kMicrosecond);

// Enumerating index 0, 1, 2... of a key with 200,000 subkeys: each step costs the same,
// however far the walk has gone.
void BM_EnumKeyInOrder(benchmark::State& state) {
  BigMachine();
  HKEY parent = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Bench", &parent) != ERROR_SUCCESS) std::abort();
  DWORD index = 0;
  for (auto _ : state) {
    char name[256];
    DWORD size = sizeof name;
    if (RegEnumKeyExA(parent, index++ % kKeys, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      std::abort();
  }
  RegCloseKey(parent);
}
BENCHMARK(BM_EnumKeyInOrder)->Unit(benchmark::kMicrosecond);

// Writing a value: one committed transaction, without a sync.
void BM_SetValue(benchmark::State& state) {
  BigMachine();
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Bench\\K100000", &key) != ERROR_SUCCESS) std::abort();
  DWORD n = 0;
  for (auto _ : state)
    if (RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&++n), 4) != ERROR_SUCCESS)
      std::abort();
  RegCloseKey(key);
}
BENCHMARK(BM_SetValue)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
