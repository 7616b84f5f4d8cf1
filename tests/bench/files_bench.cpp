// Costs of the file services over a long deletion list: the held-open test of 1000 files by
// the kernel's lease and by the /proc scan, and a search of a directory of 1000 files.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/File.h"
#include "platform/FileApi.h"
#include "platform/FileUseScan.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr int kFiles = 1000;

std::string Name(int i) { return "file" + std::to_string(i) + ".dll"; }

void MakeFiles(CTestMachine& machine) {
  for (int i = 0; i < kFiles; ++i) machine.Write("drive_c/Capture/" + Name(i), "MZ");
}

// The exclusive open of every file of the list, as the deletion pass makes it.
void BM_HeldOpenTestByLease(benchmark::State& state) {
  CTestMachine machine;
  MakeFiles(machine);
  for (auto _ : state) {
    CFileUseScan pass;
    for (int i = 0; i < kFiles; ++i) {
      CFile file;
      benchmark::DoNotOptimize(file.Open(("C:\\Capture\\" + Name(i)).c_str(), CFile::modeRead | CFile::shareExclusive));
    }
  }
  state.SetLabel("1000 files, " + std::to_string(CFileUseScan::ScanCount()) + " scans in all");
}
BENCHMARK(BM_HeldOpenTestByLease)->Unit(benchmark::kMillisecond);

std::vector<HostFileId> FileIds(CTestMachine& machine) {
  std::vector<HostFileId> ids;
  for (int i = 0; i < kFiles; ++i) {
    struct stat st {};
    ::stat(machine.Host("drive_c/Capture/" + Name(i)).c_str(), &st);
    ids.push_back({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)});
  }
  return ids;
}

// Where the kernel cannot answer: one scan for the pass, then a lookup per file.
void BM_HeldOpenTestByScanPerPass(benchmark::State& state) {
  CTestMachine machine;
  MakeFiles(machine);
  std::vector<HostFileId> ids = FileIds(machine);
  for (auto _ : state) {
    CFileUseScan pass;
    for (const HostFileId& id : ids) benchmark::DoNotOptimize(CFileUseScan::IsOpenElsewhere(id));
  }
  state.SetLabel("1000 files");
}
BENCHMARK(BM_HeldOpenTestByScanPerPass)->Unit(benchmark::kMillisecond);

// What one scan costs: the price of each file if there were no pass scope.
void BM_OneProcScan(benchmark::State& state) {
  size_t files = 0;
  for (auto _ : state) files = COpenFileTable::Scan().Size();
  state.SetLabel(std::to_string(files) + " open files seen");
}
BENCHMARK(BM_OneProcScan)->Unit(benchmark::kMillisecond);

void BM_SearchOf1000Files(benchmark::State& state) {
  CTestMachine machine;
  MakeFiles(machine);
  for (auto _ : state) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA("C:\\Capture\\*.dll", &data);
    int count = 0;
    if (search != INVALID_HANDLE_VALUE) {
      do ++count;
      while (FindNextFileA(search, &data));
      FindClose(search);
    }
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(BM_SearchOf1000Files)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
