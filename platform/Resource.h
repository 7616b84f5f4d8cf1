// The program's resources: dialog templates, bitmaps and icons, found by number as the
// Windows resource functions find them in a module.
#pragma once

#include <map>
#include <span>
#include <string>

#include "platform/DialogTemplate.h"
#include "platform/Image.h"
#include "platform/WinUser.h"

class CResourceModule {
 public:
  void AddDialog(DialogTemplate dialog);
  // Adds an image read from XPM text; fails (and adds nothing) when the text is malformed.
  Status AddBitmap(UINT id, std::span<const char* const> xpm, std::string* error);
  Status AddIcon(UINT id, std::span<const char* const> xpm, std::string* error);

  // nullptr when the module holds no such resource.
  const DialogTemplate* FindDialog(UINT id) const;
  const CImage* FindBitmap(UINT id) const;
  const CImage* FindIcon(UINT id) const;

 private:
  std::map<UINT, DialogTemplate> m_dialogs;
  std::map<UINT, CImage> m_bitmaps;
  std::map<UINT, CImage> m_icons;
};

// The module whose resources the framework loads (dialog templates by CDialog, icons by
// LoadIcon), as the class library's resource handle. Start-up installs the program's; tests
// may install their own. nullptr until one is installed: templates are then not found.
void AfxSetResourceHandle(HINSTANCE module);
HINSTANCE AfxGetResourceHandle();

// The icon or bitmap named by a MAKEINTRESOURCE number in `module`; NULL when it has none.
HICON LoadIconA(HINSTANCE module, LPCSTR name);
HBITMAP LoadBitmapA(HINSTANCE module, LPCSTR name);
