// Runs a program as a child process, without a shell, and measures it: its peak memory (its
// own, not the test's, see peak/PeakRun.cpp), its time, and whether it ended by itself.
#pragma once

#include <string>
#include <vector>

struct ChildOptions {
  std::string stdoutPath = "/dev/null";
  std::string stderrPath = "/dev/null";
  double timeoutSeconds = 600;  // then the child is killed
};

struct ChildResult {
  int status = -1;         // the exit status; -1 when it did not exit
  int signal = 0;          // the signal that ended it, 0 when it exited
  bool timedOut = false;   // it was killed after the timeout
  long peakKiB = 0;        // its largest resident set (ru_maxrss)
  double seconds = 0;      // wall-clock time
  double cpuSeconds = 0;   // user and system time: what the run cost, however busy the host
};

// Runs `argv` (argv[0] a path) with standard input from /dev/null.
ChildResult RunChild(const std::vector<std::string>& argv, const ChildOptions& options = {});
