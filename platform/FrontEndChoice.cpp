// Making the front end of a run from its options.
#include "platform/FrontEndChoice.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/ScriptFrontEnd.h"
#include "platform/SilentFrontEnd.h"
#include "platform/TerminalUi.h"

namespace {

// Standard output as a stream the front end may own without closing it.
class CStdoutStream : public std::ostream {
 public:
  CStdoutStream() : std::ostream(std::cout.rdbuf()) {}
};

std::unique_ptr<IFrontEnd> MakeScriptFrontEnd(const FrontEndOptions& options, std::string* error) {
  std::ifstream in(options.scriptPath, std::ios::binary);
  if (!in) {
    *error = "cannot read the script " + options.scriptPath + ": " + std::strerror(errno);
    return nullptr;
  }
  std::ostringstream text;
  text << in.rdbuf();
  CScript script;
  if (!CScript::Parse(text.str(), &script, error)) {
    *error = options.scriptPath + ": " + *error;
    return nullptr;
  }
  std::unique_ptr<std::ostream> out;
  if (options.transcriptPath == "-") {
    out = std::make_unique<CStdoutStream>();
  } else {
    auto file = std::make_unique<std::ofstream>(options.transcriptPath, std::ios::binary | std::ios::trunc);
    if (!*file) {
      *error = "cannot create the transcript " + options.transcriptPath + ": " + std::strerror(errno);
      return nullptr;
    }
    out = std::move(file);
  }
  return std::make_unique<CScriptFrontEnd>(std::move(script), std::move(out));
}

}  // namespace

std::unique_ptr<IFrontEnd> MakeFrontEnd(const FrontEndOptions& options, std::string* error) {
  if (options.unattended) {
    if (!options.scriptPath.empty() || !options.transcriptPath.empty()) {
      *error = "an unattended run takes no --script or --transcript";
      return nullptr;
    }
    return std::make_unique<CSilentFrontEnd>(*options.unattended);
  }
  if (options.scriptPath.empty() != options.transcriptPath.empty()) {
    *error = "--script and --transcript go together";
    return nullptr;
  }
  if (!options.scriptPath.empty()) return MakeScriptFrontEnd(options, error);
  std::unique_ptr<IFrontEnd> terminal = CTerminalUi::Open(options.mono, error);
  if (!terminal) *error += "; give --silent, or --script FILE --transcript FILE, to run without a terminal";
  return terminal;
}
