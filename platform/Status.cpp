// Status texts for messages.
#include "platform/Status.h"

const char* ErrorCodeName(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS: return "success";
    case ERROR_FILE_NOT_FOUND: return "file not found";
    case ERROR_PATH_NOT_FOUND: return "path not found";
    case ERROR_ACCESS_DENIED: return "access denied";
    case ERROR_INVALID_HANDLE: return "invalid handle";
    case ERROR_INVALID_DRIVE: return "no such drive";
    case ERROR_NO_MORE_FILES: return "no more files";
    case ERROR_WRITE_FAULT: return "write fault";
    case ERROR_READ_FAULT: return "read fault";
    case ERROR_SHARING_VIOLATION: return "sharing violation";
    case ERROR_LOCK_VIOLATION: return "lock violation";
    case ERROR_BAD_NETPATH: return "network paths are not supported";
    case ERROR_FILE_EXISTS: return "file exists";
    case ERROR_INVALID_PARAMETER: return "invalid parameter";
    case ERROR_INVALID_NAME: return "invalid name";
    case ERROR_DIR_NOT_EMPTY: return "directory not empty";
    case ERROR_BAD_PATHNAME: return "bad path name";
    case ERROR_ALREADY_EXISTS: return "already exists";
    case ERROR_FILENAME_EXCED_RANGE: return "path too long";
    case ERROR_MORE_DATA: return "more data";
    case ERROR_NO_MORE_ITEMS: return "no more items";
    case ERROR_DIRECTORY: return "not a directory";
    case ERROR_BADDB: return "registry database is corrupt";
    case ERROR_BADKEY: return "bad registry key";
    case ERROR_CANTOPEN: return "cannot open registry key";
    case ERROR_CANTREAD: return "cannot read registry";
    case ERROR_CANTWRITE: return "cannot write registry";
    case ERROR_REGISTRY_IO_FAILED: return "registry I/O failed";
    case ERROR_KEY_DELETED: return "registry key was deleted";
    default: return "error";
  }
}

std::string Status::ToString() const {
  std::string text = "error " + std::to_string(m_code) + " (" + ErrorCodeName(m_code) + ")";
  if (!m_path.empty()) text += ": " + m_path;
  return text;
}
