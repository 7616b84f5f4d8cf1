// CFile: the class library's file, as far as the program uses it: an exclusive open to learn
// whether a file is free, and the removal of a file.
#pragma once

#include "platform/FileException.h"
#include "platform/WinTypes.h"

class CFile {
 public:
  // The open modes this machine supports; the program only ever opens for reading with no
  // sharing, and any other combination fails with ERROR_INVALID_PARAMETER.
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    shareExclusive = 0x0010,
  };

  CFile() = default;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  ~CFile() { Close(); }

  // Opens `lpszFileName` for reading with no sharing. Fails while any other process has the
  // file open (sharingViolation), and for a missing (fileNotFound), unreadable or directory
  // (accessDenied) path; then fills *pError when given and sets GetLastError. The open holds
  // nothing on the host: the program closes such a file at once, having learnt it was free.
  BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  void Close() { m_bOpen = false; }
  bool IsOpen() const { return m_bOpen; }

  // Deletes the file through DeleteFileA; throws CFileException when that fails (a read-only
  // file, a missing one, a directory).
  static void Remove(LPCSTR lpszFileName);

 private:
  bool m_bOpen = false;
};
