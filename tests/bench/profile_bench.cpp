// Costs of the profile service: one text lookup in a small and in a large file once parsed,
// and a write into a large file.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/Profile.h"
#include "tests/support/TestMachine.h"

namespace {

// A script file of about `bytes` bytes: sections of twenty keys each.
std::string MakeScript(size_t bytes) {
  std::string text;
  for (int section = 0; text.size() < bytes; ++section) {
    text += "[Section" + std::to_string(section) + "]\r\n";
    for (int key = 0; key < 20; ++key)
      text += "Key" + std::to_string(key) + "=C:\\Program Files\\Capture\\file" + std::to_string(key) + ".dll\r\n";
  }
  return text;
}

void BM_LookupOnceParsed(benchmark::State& state) {
  CTestMachine machine;
  const std::string script = MakeScript(static_cast<size_t>(state.range(0)));
  machine.Write("drive_c/Capture/uninst.ini", script);
  // A key in the file's last section, so a scan would have to pass everything before it.
  size_t last = script.rfind("[Section");
  std::string section = script.substr(last + 1, script.find(']', last) - last - 1);
  char buffer[256];
  GetPrivateProfileStringA(section.c_str(), "Key10", "", buffer, sizeof buffer, "C:\\Capture\\uninst.ini");
  for (auto _ : state) {
    DWORD n = GetPrivateProfileStringA(section.c_str(), "Key10", "", buffer, sizeof buffer, "C:\\Capture\\uninst.ini");
    benchmark::DoNotOptimize(n);
  }
  state.SetLabel(std::to_string(script.size() / 1024) + " KiB");
}
BENCHMARK(BM_LookupOnceParsed)->Arg(1 << 10)->Arg(1 << 20);

void BM_WriteBatchOfKeys(benchmark::State& state) {
  CTestMachine machine;
  machine.Write("drive_c/Capture/uninstin.ini", MakeScript(static_cast<size_t>(state.range(0))));
  int round = 0;
  for (auto _ : state) {
    // A hundred changed keys go out as one atomic, synced write of the file.
    CProfileWriteBatch batch;
    std::string value = std::to_string(++round);
    for (int i = 0; i < 100; ++i)
      WritePrivateProfileStringA("Section0", ("Key" + std::to_string(i)).c_str(), value.c_str(),
                                 "C:\\Capture\\uninstin.ini");
  }
}
BENCHMARK(BM_WriteBatchOfKeys)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
