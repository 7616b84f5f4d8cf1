// Measured runs of the real programs.
#include "tests/bigdata/MeasuredRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/TestMachine.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
// What AddressSanitizer adds: redzones around every block (about as much again for the small
// blocks of parsed lines) and a quarantine of freed memory (256 MiB by default).
constexpr double kSanitizerBlockFactor = 2.0;
constexpr long kSanitizerQuarantineKiB = 256 * 1024;

}  // namespace

void WriteHostFile(const std::string& path, std::string_view bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

MeasuredUninst RunUninstMeasured(const std::string& program, const std::string& actions, double timeoutSeconds) {
  CTempDir dir;
  const std::string script = dir.Path() + "/actions.txt";
  const std::string transcript = dir.Path() + "/transcript.jsonl";
  WriteHostFile(script, actions);
  MeasuredUninst run;
  ChildOptions options;
  options.stderrPath = dir.Path() + "/stderr.txt";
  options.timeoutSeconds = timeoutSeconds;
  run.child = RunChild({ToolPath("uninst"), program, "--script", script, "--transcript", transcript}, options);
  run.result.status = run.child.status;
  std::ifstream lines(transcript);
  for (std::string line; std::getline(lines, line);) run.result.transcript.push_back(line);
  run.result.errors = ReadHostFile(options.stderrPath);
  return run;
}

ChildResult RunMachineToolMeasured(const std::vector<std::string>& args, std::string* output) {
  CTempDir dir;
  std::vector<std::string> argv{ToolPath("uninst-machine")};
  argv.insert(argv.end(), args.begin(), args.end());
  ChildOptions options;
  options.stdoutPath = options.stderrPath = dir.Path() + "/output.txt";
  ChildResult result = RunChild(argv, options);
  if (output) *output = ReadHostFile(options.stdoutPath);
  return result;
}

long BaselinePeakKiB() {
  static const long baseline = [] {
    CTestMachine machine(false);
    machine.Write("drive_c/Capture/uninstin.ini", "[Packages]\r\nApp=1\r\n");
    machine.Write("drive_c/Capture/uninst.ini",
                  "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\nC:\\Capture\\a.txt=\r\n");
    machine.Write("drive_c/Capture/a.txt", "a");
    return RunUninstMeasured(machine.Host("drive_c/Capture/uninst.exe"), "click 1010\nanswer IDOK\n").child.peakKiB;
  }();
  return baseline;
}

void ReportFigures(std::string_view what, std::uint64_t inputBytes, const ChildResult& run) {
  const double times =
      static_cast<double>(run.peakKiB - BaselinePeakKiB()) * 1024.0 / static_cast<double>(inputBytes);
  std::printf("figures: %.*s: input %llu bytes, peak %ld KiB (baseline %ld KiB + %.1f x the input), %.1f s "
              "(%.1f s of CPU)\n",
              static_cast<int>(what.size()), what.data(), static_cast<unsigned long long>(inputBytes), run.peakKiB,
              BaselinePeakKiB(), times, run.seconds, run.cpuSeconds);
  const std::string key(what);
  ::testing::Test::RecordProperty(key + " peak KiB", std::to_string(run.peakKiB));
  ::testing::Test::RecordProperty(key + " seconds", std::to_string(run.seconds));
  ::testing::Test::RecordProperty(key + " CPU seconds", std::to_string(run.cpuSeconds));
}

void ExpectPeakWithin(const ChildResult& run, std::uint64_t inputBytes, double factor) {
  const double inputKiB = static_cast<double>(inputBytes) / 1024.0;
  double bound = static_cast<double>(BaselinePeakKiB()) + factor * inputKiB;
  if (kSanitized) bound = bound * kSanitizerBlockFactor + kSanitizerQuarantineKiB;
  EXPECT_LE(static_cast<double>(run.peakKiB), bound)
      << "peak " << run.peakKiB << " KiB for " << inputBytes << " bytes of input; bound " << bound << " KiB";
}
