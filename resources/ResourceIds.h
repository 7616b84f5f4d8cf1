// The numbers of the program's resources and of the controls in its dialog templates.
#pragma once

#include "platform/WinTypes.h"

inline constexpr UINT IDD_ABOUTBOX = 100;
inline constexpr UINT IDD_UNINST_DIALOG = 102;
inline constexpr UINT IDB_PICTURE = 131;
inline constexpr UINT IDI_UNINST = 132;
inline constexpr UINT IDD_PROGRESS = 134;
inline constexpr UINT IDD_RESTART = 135;

// Template 102, the main dialog.
inline constexpr int IDC_PACKAGE1 = 1001;  // to IDC_PACKAGE1 + 6, one per package
inline constexpr int IDC_PACKAGE_GROUP = 1009;
inline constexpr int IDC_CONFIRM = 1010;
inline constexpr int IDC_PICTURE = 1011;
inline constexpr int IDC_DESCRIPTION = 1012;
// Template 134, the progress dialog.
inline constexpr int IDC_PROGRESS_BAR = 1013;
inline constexpr int IDC_FILE_LABEL = 1014;
inline constexpr int IDC_PROGRESS_TEXT = 1015;
// Template 135, the restart dialog.
inline constexpr int IDC_SHUTDOWN = 1018;
inline constexpr int IDC_RESTART = 1019;
inline constexpr int IDC_RESTART_LATER = 1020;
inline constexpr int IDC_SHUTDOWN_TEXT = 1022;
inline constexpr int IDC_RESTART_TEXT = 1023;
inline constexpr int IDC_RESTART_LATER_TEXT = 1024;
