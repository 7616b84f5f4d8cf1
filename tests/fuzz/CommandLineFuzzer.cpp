// The command-line parse of start-up on any text: the executable's path is the text without
// a leading quote and from its last quote on, its directory ends at its last backslash, and a
// path put in quotes, with or without an argument after it, parses back to itself.
//
// Input: the command line.
#include <string>
#include <string_view>

#include "app/CommandLine.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void CheckLocation(std::string_view commandLine, const ExeLocation& location) {
  const std::string where = std::string(commandLine) + " -> " + location.exePath + " in " + location.exeDir;
  std::string_view rest = commandLine;
  if (rest.starts_with('"')) rest.remove_prefix(1);
  FUZZ_CHECK(rest.starts_with(location.exePath), where);
  // What follows the path is nothing, or its last quote and what comes after that.
  std::string_view after = rest.substr(location.exePath.size());
  FUZZ_CHECK(after.empty() || (after.front() == '"' && after.find('"', 1) == std::string_view::npos), where);
  FUZZ_CHECK(location.exePath.starts_with(location.exeDir), where);
  std::string_view name = std::string_view(location.exePath).substr(location.exeDir.size());
  if (location.exeDir.empty() && !name.starts_with('\\')) {
    FUZZ_CHECK(name.find('\\') == std::string_view::npos, where);
  } else {
    FUZZ_CHECK(name.starts_with('\\') && name.find('\\', 1) == std::string_view::npos, where);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view commandLine = AsText(data, size);
  const ExeLocation location = ParseCommandLine(commandLine);
  CheckLocation(commandLine, location);

  for (const std::string& quoted : {"\"" + location.exePath + "\"", "\"" + location.exePath + "\" /x"}) {
    const ExeLocation again = ParseCommandLine(quoted);
    CheckLocation(quoted, again);
    FUZZ_CHECK(again.exePath == location.exePath && again.exeDir == location.exeDir,
               quoted + " -> " + again.exePath + " in " + again.exeDir);
  }
  return 0;
}
