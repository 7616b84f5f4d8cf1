// Import of .reg files into a machine's registry, all files in one transaction.
#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "platform/HostFile.h"
#include "platform/RegFile.h"
#include "platform/RegTransaction.h"

namespace {

struct ParsedFile {
  std::string name;
  std::vector<RegFileChange> changes;
};

bool ReadRegFile(const std::string& path, ParsedFile* parsed, RegFileError* error) {
  CHostFile file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  std::string bytes;
  if (!file.IsOpen() || !file.ReadAll(&bytes)) {
    *error = {path, 0, std::string("cannot read the file: ") + std::strerror(errno)};
    return false;
  }
  parsed->name = path;
  if (ParseRegFile(bytes, &parsed->changes, error)) return true;
  error->file = path;
  return false;
}

// Carries out one change; `key` is the key of the last key line, which value lines act on.
// Deleting what is not there is what the file asks for already.
Status Apply(IMachine& machine, const RegFileChange& change, RegKeyId* key) {
  switch (change.kind) {
    case RegFileChange::Kind::CreateKey:
      return machine.RegCreateKey(change.root->id, change.path, key);
    case RegFileChange::Kind::DeleteKey: {
      Status status = machine.RegDeleteKey(change.root->id, change.path);
      return status.Code() == ERROR_FILE_NOT_FOUND ? Status::Ok() : status;
    }
    case RegFileChange::Kind::SetValue:
      return machine.RegSetValue(*key, change.name, change.value);
    case RegFileChange::Kind::DeleteValue: {
      Status status = machine.RegDeleteValue(*key, change.name);
      return status.Code() == ERROR_FILE_NOT_FOUND ? Status::Ok() : status;
    }
  }
  return Status::Error(ERROR_INVALID_PARAMETER);
}

const char* WhatFailed(RegFileChange::Kind kind) {
  switch (kind) {
    case RegFileChange::Kind::CreateKey:
      return "cannot create the key";
    case RegFileChange::Kind::DeleteKey:
      return "cannot delete the key";
    case RegFileChange::Kind::SetValue:
      return "cannot set the value";
    case RegFileChange::Kind::DeleteValue:
      return "cannot delete the value";
  }
  return "cannot apply the line";
}

}  // namespace

namespace {

Status ImportParsed(IMachine& machine, const std::vector<ParsedFile>& parsed, RegFileError* error) {
  CRegTransaction transaction(machine);
  if (Status begun = transaction.Begin(); !begun) {
    *error = {{}, 0, begun.ToString()};
    return begun;
  }
  for (const ParsedFile& file : parsed) {
    RegKeyId key = 0;
    for (const RegFileChange& change : file.changes) {
      if (Status status = Apply(machine, change, &key); !status) {
        *error = {file.name, change.line, std::string(WhatFailed(change.kind)) + ": " + status.ToString()};
        return status;
      }
    }
  }
  Status committed = transaction.Commit();
  if (!committed) *error = {{}, 0, committed.ToString()};
  return committed;
}

}  // namespace

Status ImportRegFiles(IMachine& machine, std::span<const std::string> files, RegFileError* error) {
  // Every file is read and parsed before the first change, so a malformed line anywhere
  // leaves the registry alone without a rollback.
  std::vector<ParsedFile> parsed(files.size());
  for (std::size_t i = 0; i < files.size(); ++i)
    if (!ReadRegFile(files[i], &parsed[i], error)) return Status::Error(ERROR_INVALID_PARAMETER, error->file);
  return ImportParsed(machine, parsed, error);
}

Status ImportRegText(IMachine& machine, std::string_view name, std::string_view text, RegFileError* error) {
  std::vector<ParsedFile> parsed(1);
  parsed[0].name = name;
  if (!ParseRegFile(text, &parsed[0].changes, error)) {
    error->file = name;
    return Status::Error(ERROR_INVALID_PARAMETER, error->file);
  }
  return ImportParsed(machine, parsed, error);
}
