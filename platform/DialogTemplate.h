// A dialog template as data: the dialog's frame and its controls, in dialog units.
#pragma once

#include <string>
#include <vector>

#include "platform/WinUser.h"

// The window classes a template may name.
inline constexpr const char* kButtonClass = "Button";
inline constexpr const char* kStaticClass = "Static";
inline constexpr const char* kProgressClass = "msctls_progress32";

struct DialogItemTemplate {
  int id = IDC_STATIC;
  std::string className;
  DWORD style = 0;  // WS_CHILD and WS_VISIBLE included where the control has them
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  std::string text;
  // The bitmap or icon resource a picture static shows (SS_BITMAP, SS_ICON); 0 otherwise.
  UINT imageId = 0;
};

struct DialogTemplate {
  UINT id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  std::string caption;
  std::string fontName;
  WORD pointSize = 0;
  std::vector<DialogItemTemplate> items;  // in template order, which is the tab order
};

// Pixels of dialog units for the template font, 8-point "MS Sans Serif" at 96 dots per inch,
// whose average character is 6 by 13 pixels: a unit is a quarter of the width and an eighth
// of the height. The bitmap of 120 by 260 pixels thus fills 80 by 160 units.
inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;
inline int DialogUnitsToPixelsX(int du) { return du * kBaseUnitX / 4; }
inline int DialogUnitsToPixelsY(int du) { return du * kBaseUnitY / 8; }
