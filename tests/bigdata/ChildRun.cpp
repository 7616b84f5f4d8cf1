// A measured child process, run through peak_run.
#include "tests/bigdata/ChildRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>

#include "tests/support/TestMachine.h"

extern char** environ;

ChildResult RunChild(const std::vector<std::string>& argv, const ChildOptions& options) {
  CTempDir dir;
  const std::string report = dir.Path() + "/report.txt";
  std::vector<std::string> wrapped{PEAK_RUN_PATH, report, std::to_string(options.timeoutSeconds)};
  wrapped.insert(wrapped.end(), argv.begin(), argv.end());
  std::vector<char*> args;
  for (std::string& arg : wrapped) args.push_back(arg.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, options.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, options.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ChildResult result;
  int status = 0;
  if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return result;
  int timedOut = 0;
  std::ifstream(report) >> result.status >> result.signal >> timedOut >> result.peakKiB >> result.seconds >>
      result.cpuSeconds;
  result.timedOut = timedOut != 0;
  return result;
}
