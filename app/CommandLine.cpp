// The executable's path from the command line.
#include "app/CommandLine.h"

ExeLocation ParseCommandLine(std::string_view commandLine) {
  if (commandLine.starts_with('"')) commandLine.remove_prefix(1);
  if (size_t quote = commandLine.rfind('"'); quote != std::string_view::npos) commandLine = commandLine.substr(0, quote);
  ExeLocation location{std::string(commandLine), {}};
  if (size_t slash = commandLine.rfind('\\'); slash != std::string_view::npos)
    location.exeDir = std::string(commandLine.substr(0, slash));
  return location;
}
