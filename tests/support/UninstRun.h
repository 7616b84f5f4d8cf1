// Runs the real uninst program on a test machine through the script front end and reads
// back its transcript.
#pragma once

#include <string>
#include <vector>

struct UninstResult {
  int status = -1;
  std::vector<std::string> transcript;  // one JSON object a line
  std::string errors;                   // standard error

  // The transcript lines that contain every one of `parts`.
  std::vector<std::string> Lines(std::initializer_list<std::string> parts) const;
  bool Has(std::initializer_list<std::string> parts) const { return !Lines(parts).empty(); }
};

// Runs `uninst` with the script text `script` on the program at host path `program` (inside
// a machine's drive folder), with `extraArgs` added to its command line.
UninstResult RunUninst(const std::string& program, const std::string& script, const std::string& extraArgs = "");
