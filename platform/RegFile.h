// The .reg text format (REGEDIT4, and version 5.00): parsing, import and export.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Machine.h"
#include "platform/RegistryRoots.h"

// One change that a .reg file asks for.
struct RegFileChange {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind = Kind::CreateKey;
  // The key of a key line; value lines apply to the key of the CreateKey before them.
  const RegRoot* root = nullptr;
  std::string path;  // below the root
  std::string name;  // the value's name; empty for the default value
  RegValue value;
  int line = 0;
};

// Where and why a .reg file was refused: "FILE:LINE: TEXT" (no line when it is 0).
struct RegFileError {
  std::string file;
  int line = 0;
  std::string text;
  std::string ToString() const;
};

// Reads the text of a .reg file: a REGEDIT4 or "Windows Registry Editor Version 5.00" header
// on the first line, then key lines, value lines, comments and blank lines. Text in UTF-16LE
// (with its byte-order mark) is read as the ANSI text it holds. Fails on the first malformed
// line, with its number in error->line (and error->file left empty).
bool ParseRegFile(std::string_view bytes, std::vector<RegFileChange>* changes, RegFileError* error);

// Imports the .reg files at the host paths `files` into `machine`, all of them in one
// transaction: when one line of one file is malformed or cannot be carried out, nothing
// changes and `error` says where. Deleting a key or value that is not there is no error.
Status ImportRegFiles(IMachine& machine, std::span<const std::string> files, RegFileError* error);

// Imports the .reg text `text` (called `name` in errors) in one transaction, as above.
Status ImportRegText(IMachine& machine, std::string_view name, std::string_view text, RegFileError* error);

// REGEDIT4 text of the key `key` ("HKEY_LOCAL_MACHINE\Software\X") and all its subkeys, or of
// the whole registry when `key` is empty: keys depth first, subkeys and values in enumeration
// order, so the same registry always gives the same text and importing it gives the same
// registry. A root without values has no block of its own. CRLF line endings.
Status ExportRegistry(IMachine& machine, std::string_view key, std::string* text);
