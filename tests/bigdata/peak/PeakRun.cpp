// peak_run REPORT TIMEOUT PROGRAM [ARGS...]: runs PROGRAM with ARGS and writes one line to the
// file REPORT: its exit status (-1 when it did not exit), the signal that ended it (0 when none),
// 1 when it was killed after TIMEOUT seconds (else 0), its peak resident set in KiB, and its
// wall-clock and CPU seconds.
//
// A small process of its own: a program started straight from a test would count the test's
// memory as its own, since exec keeps the highest resident set the process had before it, and a
// child shares or copies its parent's memory until it execs.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

double Now() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: peak_run REPORT TIMEOUT PROGRAM [ARGS...]\n");
    return 2;
  }
  const double timeout = std::atof(argv[2]);
  const double start = Now();
  pid_t child = ::fork();
  if (child < 0) return 2;
  if (child == 0) {
    ::execv(argv[3], argv + 3);
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  bool killed = false;
  for (;;) {
    pid_t done = ::wait4(child, &status, WNOHANG, &usage);
    if (done == child) break;
    if (done < 0) return 2;
    if (!killed && Now() - start > timeout) {
      ::kill(child, SIGKILL);
      killed = true;
    }
    const timespec pause{0, 5'000'000};
    ::nanosleep(&pause, nullptr);
  }
  std::FILE* report = std::fopen(argv[1], "w");
  if (!report) return 2;
  std::fprintf(report, "%d %d %d %ld %.3f %.3f\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1,
               WIFSIGNALED(status) ? WTERMSIG(status) : 0, killed ? 1 : 0, usage.ru_maxrss, Now() - start,
               Seconds(usage.ru_utime) + Seconds(usage.ru_stime));
  std::fclose(report);
  return 0;
}
