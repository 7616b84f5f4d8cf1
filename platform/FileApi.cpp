// The Windows and system directories, DeleteFileA and RemoveDirectoryA.
#include "platform/FileApi.h"

#include <algorithm>
#include <string_view>

#include "platform/Machine.h"
#include "platform/LastError.h"

namespace {

UINT CopyDirectory(std::string_view directory, LPSTR buffer, UINT size) {
  UINT needed = static_cast<UINT>(directory.size()) + 1;
  if (!buffer || size < needed) return needed;
  std::copy(directory.begin(), directory.end(), buffer);
  buffer[directory.size()] = '\0';
  return needed - 1;
}

BOOL Result(const Status& status) {
  if (status) return TRUE;
  SetLastError(status.Code());
  return FALSE;
}

}  // namespace

UINT GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) { return CopyDirectory(kWindowsDirectory, lpBuffer, uSize); }

UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize) { return CopyDirectory(kSystemDirectory, lpBuffer, uSize); }

BOOL DeleteFileA(LPCSTR lpFileName) {
  if (!lpFileName) return Result(Status::Error(ERROR_INVALID_PARAMETER));
  return Result(TheMachine().DeleteFile(lpFileName));
}

BOOL RemoveDirectoryA(LPCSTR lpPathName) {
  if (!lpPathName) return Result(Status::Error(ERROR_INVALID_PARAMETER));
  return Result(TheMachine().RemoveDirectory(lpPathName));
}
