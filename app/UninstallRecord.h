// The one record of a run: the main dialog's fields, which start-up, the main dialog, the
// confirmation flow, the engine and the other dialogs read and write.
#pragma once

#include <array>

#include "platform/String.h"
#include "platform/TextBuffer.h"
#include "platform/WinUser.h"

inline constexpr int kPackageSlots = 7;

// CUninstallDlg holds these fields; the other dialogs and the engine reach them through the
// owner window of their own dialog (see UninstallRecordOf).
struct CUninstallRecord {
  CTextBuffer<256> m_szExeDir;     // directory of the executable, without a closing backslash
  CTextBuffer<256> m_szExePath;    // path of the executable as the command line gives it
  CTextBuffer<256> m_szScriptPath; // m_szExeDir + "\uninst.ini"
  CTextBuffer<256> m_szStatePath;  // m_szExeDir + "\uninstin.ini"
  CTextBuffer<20> m_szLanguage;    // the name of the script file's language section
  CTextBuffer<80> m_szTitle;       // caption of the main dialog and of its message boxes
  int m_bHardwareConfirmed = 0;    // the board's driver entry was found and the user went on
  int m_bCDVersion = 0;            // 1: the program runs from the installation medium
  std::array<CString, kPackageSlots> m_strPackage;        // names in [Packages] order
  std::array<int, kPackageSlots> m_bPackageSelected{};    // the confirmed selection
  std::array<int, kPackageSlots> m_bPackageChecked{};     // the check boxes 1001 to 1007
  HICON m_hIcon = nullptr;                                 // icon resource 132

  virtual ~CUninstallRecord() = default;
};

// The record of the main dialog that owns `dialog` (its GW_OWNER window), or the dialog's own
// when it is the main dialog. Null when neither holds one.
CUninstallRecord* UninstallRecordOf(CWnd* dialog);
