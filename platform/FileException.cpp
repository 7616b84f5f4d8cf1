// Windows error codes turned into the causes and messages of CFileException.
#include "platform/FileException.h"

#include <utility>

#include "platform/Status.h"

CFileException::CFileException(LONG lOsError, std::string fileName)
    : CException(fileName + ": " + ErrorCodeName(static_cast<DWORD>(lOsError))),
      m_cause(OsErrorToException(lOsError)),
      m_lOsError(lOsError),
      m_strFileName(std::move(fileName)) {}

int CFileException::OsErrorToException(LONG lOsError) {
  switch (static_cast<DWORD>(lOsError)) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_ACCESS_DENIED: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    default: return genericException;
  }
}

void CFileException::ThrowOsError(LONG lOsError, std::string fileName) {
  throw CFileException(lOsError, std::move(fileName));
}
