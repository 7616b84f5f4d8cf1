// CFileException: the class library's exception for a failed file operation.
#pragma once

#include <string>

#include "platform/Exception.h"
#include "platform/WinTypes.h"

class CFileException : public CException {
 public:
  // The causes, with the class library's values.
  enum {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };

  CFileException() : CException("no error") {}
  // The exception for the Windows error `lOsError` on `fileName`, its cause derived from it.
  CFileException(LONG lOsError, std::string fileName);

  // The cause for a Windows error code.
  static int OsErrorToException(LONG lOsError);
  [[noreturn]] static void ThrowOsError(LONG lOsError, std::string fileName);

  int m_cause = none;
  LONG m_lOsError = 0;
  std::string m_strFileName;
};
