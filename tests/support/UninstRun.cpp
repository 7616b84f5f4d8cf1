// Running uninst with a script and reading its transcript.
#include "tests/support/UninstRun.h"

#include <fstream>
#include <sstream>

#include "tests/support/TestMachine.h"

std::vector<std::string> UninstResult::Lines(std::initializer_list<std::string> parts) const {
  std::vector<std::string> found;
  for (const std::string& line : transcript) {
    bool all = true;
    for (const std::string& part : parts) all = all && line.find(part) != std::string::npos;
    if (all) found.push_back(line);
  }
  return found;
}

UninstResult RunUninst(const std::string& program, const std::string& script, const std::string& extraArgs) {
  CTempDir dir;
  const std::string scriptPath = dir.Path() + "/script.txt";
  const std::string transcriptPath = dir.Path() + "/transcript.jsonl";
  const std::string errorPath = dir.Path() + "/stderr.txt";
  std::ofstream(scriptPath) << script;
  UninstResult result;
  result.status = RunCommand("'" + ToolPath("uninst") + "' '" + program + "' --script '" + scriptPath +
                             "' --transcript '" + transcriptPath + "' " + extraArgs + " </dev/null 2>'" + errorPath +
                             "'");
  std::ifstream transcript(transcriptPath);
  for (std::string line; std::getline(transcript, line);) result.transcript.push_back(line);
  std::ostringstream errors;
  errors << std::ifstream(errorPath).rdbuf();
  result.errors = errors.str();
  return result;
}
