// The dialog templates: every control with its id, class, style, rectangle and text.
#include "resources/Templates.h"

#include "resources/ResourceIds.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

DialogItemTemplate Item(int id, const char* className, DWORD style, short x, short y, short cx, short cy,
                        const char* text, UINT imageId = 0) {
  return DialogItemTemplate{id, className, kChild | style, x, y, cx, cy, text, imageId};
}

}  // namespace

DialogTemplate AboutTemplate() {
  DialogTemplate t;
  t.id = IDD_ABOUTBOX;
  t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  t.cx = 217;
  t.cy = 61;
  t.caption = "About tolvek uninstallation...";
  t.fontName = "MS Sans Serif";
  t.pointSize = 8;
  t.items = {
      Item(IDC_STATIC, kStaticClass, SS_ICON, 11, 17, 21, 20, "", IDI_UNINST),
      Item(IDC_STATIC, kStaticClass, SS_LEFT | SS_NOPREFIX, 40, 10, 119, 8, "uninst.exe version 1.0"),
      Item(IDC_STATIC, kStaticClass, SS_LEFT, 40, 25, 119, 8, "Copyright (C) 1999"),
      Item(IDOK, kButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 178, 7, 32, 14, "OK"),
      Item(IDC_STATIC, kStaticClass, SS_LEFT, 40, 40, 155, 8, "Published by tolvek"),
  };
  return t;
}

DialogTemplate UninstallTemplate() {
  DialogTemplate t;
  t.id = IDD_UNINST_DIALOG;
  t.style = DS_MODALFRAME | DS_3DLOOK | WS_MINIMIZEBOX | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
  t.exStyle = WS_EX_APPWINDOW;
  t.cx = 313;
  t.cy = 174;
  t.caption = "uninstall";
  t.fontName = "MS Sans Serif";
  t.pointSize = 8;
  t.items = {
      Item(IDC_PICTURE, kStaticClass, SS_BITMAP, 6, 6, 80, 161, "", IDB_PICTURE),
      Item(IDC_DESCRIPTION, kStaticClass, SS_LEFT, 92, 6, 214, 23, "Static"),
      Item(IDC_PACKAGE_GROUP, kButtonClass, BS_GROUPBOX, 92, 28, 214, 119, ""),
  };
  const short rows[] = {42, 56, 70, 84, 99, 113, 127};
  for (int i = 0; i < 7; ++i)
    t.items.push_back(Item(IDC_PACKAGE1 + i, kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP, 102, rows[i], 195, 10, "Check1"));
  t.items.push_back(Item(IDC_CONFIRM, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 202, 153, 50, 14, "&OK"));
  t.items.push_back(Item(IDCANCEL, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 256, 153, 50, 14, "&Cancel"));
  return t;
}

DialogTemplate ProgressTemplate() {
  DialogTemplate t;
  t.id = IDD_PROGRESS;
  t.style = DS_MODALFRAME | DS_3DLOOK | DS_CENTER | WS_POPUP | WS_VISIBLE | WS_CAPTION;
  t.cx = 230;
  t.cy = 70;
  t.caption = "uninstall";
  t.fontName = "MS Sans Serif";
  t.pointSize = 8;
  t.items = {
      Item(IDC_PROGRESS_TEXT, kStaticClass, SS_LEFT, 15, 12, 200, 16, "Static"),
      Item(IDC_FILE_LABEL, kStaticClass, SS_LEFT, 15, 31, 200, 8, "File"),
      Item(IDC_PROGRESS_BAR, kProgressClass, WS_BORDER, 14, 43, 203, 14, ""),
  };
  return t;
}

DialogTemplate RestartTemplate() {
  DialogTemplate t;
  t.id = IDD_RESTART;
  t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  t.cx = 312;
  t.cy = 174;
  t.caption = "Uninstall";
  t.fontName = "MS Sans Serif";
  t.pointSize = 8;
  constexpr DWORD kChoice = BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP | BS_NOTIFY | WS_GROUP | WS_TABSTOP;
  t.items = {
      Item(IDOK, kButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 256, 153, 50, 14, "OK"),
      Item(IDC_PICTURE, kStaticClass, SS_BITMAP, 6, 6, 80, 161, "", IDB_PICTURE),
      Item(IDC_SHUTDOWN, kButtonClass, kChoice, 102, 14, 198, 8, "Check1"),
      Item(IDC_RESTART, kButtonClass, kChoice, 102, 62, 198, 9, "Check1"),
      Item(IDC_RESTART_LATER, kButtonClass, kChoice, 102, 110, 198, 8, "Check1"),
      Item(IDC_RESTART_TEXT, kStaticClass, SS_LEFT | WS_GROUP, 114, 71, 184, 36, "Static"),
      Item(IDC_SHUTDOWN_TEXT, kStaticClass, SS_LEFT | WS_GROUP, 114, 23, 184, 36, "Static"),
      Item(IDC_RESTART_LATER_TEXT, kStaticClass, SS_LEFT | WS_GROUP, 114, 119, 184, 31, "Static"),
  };
  return t;
}
