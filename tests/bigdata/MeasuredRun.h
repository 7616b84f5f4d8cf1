// The big-input runs: the real programs on machines with inputs made at test time, each run
// measured, its figures printed and its peak memory held to a multiple of its input.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/bigdata/ChildRun.h"
#include "tests/support/UninstRun.h"

struct MeasuredUninst {
  ChildResult child;
  UninstResult result;  // status, transcript and standard error
};

// Runs uninst on the program at host path `program` with the script front end taking `actions`.
MeasuredUninst RunUninstMeasured(const std::string& program, const std::string& actions, double timeoutSeconds = 600);

// Runs uninst-machine with `args`; its standard output and error go to `output`.
ChildResult RunMachineToolMeasured(const std::vector<std::string>& args, std::string* output = nullptr);

// The peak of uninst on a tiny machine: what a run costs before any input (the program, its
// libraries, the sanitizer's own memory). Measured once per test program.
long BaselinePeakKiB();

// Prints "figures: WHAT: input N bytes, peak K KiB (baseline B KiB + F x the input), T s" for the
// notes, and records the peak and the times as test properties.
void ReportFigures(std::string_view what, std::uint64_t inputBytes, const ChildResult& run);

// Fails the test unless the run's peak stays within the baseline plus `factor` times the input.
// Under AddressSanitizer every allocation carries redzones and freed memory is held back in a
// quarantine, so the bound is widened there by those known costs.
void ExpectPeakWithin(const ChildResult& run, std::uint64_t inputBytes, double factor);

// Writes `bytes` to the host file `path`, making its folders.
void WriteHostFile(const std::string& path, std::string_view bytes);
std::string ReadHostFile(const std::string& path);
