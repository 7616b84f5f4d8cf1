// Choosing the front end of a run: the unattended front end when the program gives its
// unattended answers, the script front end when a script is given, else the terminal UI when
// standard input and output are a terminal.
#pragma once

#include <memory>
#include <string>

#include "platform/FrontEnd.h"

class IUnattendedAnswers;

struct FrontEndOptions {
  std::string scriptPath;      // host path of the script; empty for the terminal UI
  std::string transcriptPath;  // host path of the transcript ("-" for standard output)
  bool mono = false;           // the terminal UI without colours
  // The answers of an unattended run (--silent); null for a run with a user or a script. The
  // front end made from them keeps a reference.
  IUnattendedAnswers* unattended = nullptr;
};

// The front end the options ask for, or nullptr and a message that says why there is none:
// a script without a transcript (or the other way round), a script that cannot be read or has
// a line that is not an action, a transcript that cannot be created, an unattended run given a
// script or transcript, no terminal.
std::unique_ptr<IFrontEnd> MakeFrontEnd(const FrontEndOptions& options, std::string* error);
