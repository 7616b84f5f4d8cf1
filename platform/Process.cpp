// The process's command line and current directory.
#include "platform/Process.h"

#include <cstring>

#include "platform/LastError.h"
#include "platform/Machine.h"

namespace {
std::string& CommandLine() {
  static std::string commandLine;
  return commandLine;
}
}  // namespace

LPCSTR GetCommandLineA() { return CommandLine().c_str(); }

void SetProcessCommandLine(std::string commandLine) { CommandLine() = std::move(commandLine); }

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  std::string current = TheMachine().CurrentDirectory();
  if (!lpBuffer || nBufferLength <= current.size()) return static_cast<DWORD>(current.size() + 1);
  std::memcpy(lpBuffer, current.c_str(), current.size() + 1);
  return static_cast<DWORD>(current.size());
}

BOOL SetCurrentDirectoryA(LPCSTR lpPathName) {
  Status status = lpPathName ? TheMachine().SetCurrentDirectory(lpPathName) : Status::Error(ERROR_INVALID_PARAMETER);
  if (status.IsOk()) return TRUE;
  SetLastError(status.Code());
  return FALSE;
}
