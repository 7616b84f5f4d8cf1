// CFile's exclusive open and its removal, over the installed machine.
#include "platform/File.h"

#include <string>

#include "platform/FileApi.h"
#include "platform/Machine.h"
#include "platform/LastError.h"

namespace {

BOOL Fail(DWORD code, LPCSTR fileName, CFileException* error) {
  SetLastError(code);
  if (error) *error = CFileException(static_cast<LONG>(code), fileName ? fileName : "");
  return FALSE;
}

}  // namespace

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  Close();
  if (!lpszFileName || nOpenFlags != (modeRead | shareExclusive))
    return Fail(ERROR_INVALID_PARAMETER, lpszFileName, pError);
  if (Status status = TheMachine().OpenNoShare(lpszFileName); !status)
    return Fail(status.Code(), lpszFileName, pError);
  m_bOpen = true;
  return TRUE;
}

void CFile::Remove(LPCSTR lpszFileName) {
  if (DeleteFileA(lpszFileName)) return;
  CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName ? lpszFileName : "");
}
