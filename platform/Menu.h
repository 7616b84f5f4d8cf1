// CMenu: a window's system menu, its items and their states.
#pragma once

#include <string>
#include <vector>

#include "platform/String.h"
#include "platform/WinUser.h"

struct MenuItem {
  UINT flags = MF_STRING;  // MF_SEPARATOR, MF_GRAYED, MF_DISABLED
  UINT id = 0;
  std::string text;
  bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
  bool IsGrayed() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
};

class CMenu {
 public:
  // `owner` is told about every change, so the menu on the screen follows.
  explicit CMenu(CWnd* owner) : m_owner(owner) {}
  HMENU GetSafeHmenu() { return this; }

  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR text = nullptr);
  // The command id of the item at nPos; 0 for a separator, 0xFFFFFFFF when there is none.
  UINT GetMenuItemID(int nPos) const;
  int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
  // Enables, greys or disables the item named by id (MF_BYCOMMAND) or position
  // (MF_BYPOSITION). Returns its previous state (MF_ENABLED, MF_GRAYED, MF_DISABLED), or
  // 0xFFFFFFFF when there is no such item.
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  // The state flags of an item, or 0xFFFFFFFF when there is none.
  UINT GetMenuState(UINT nID, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, CString& text, UINT nFlags) const;

  const std::vector<MenuItem>& Items() const { return m_items; }
  // Puts back the standard items of a window's system menu for the given window style.
  void ResetToSystemMenu(DWORD windowStyle, bool iconic);
  // Restore and Minimize follow the window's state, as Windows updates them.
  void UpdateForIconic(DWORD windowStyle, bool iconic);

 private:
  MenuItem* Item(UINT nID, UINT nFlags);
  const MenuItem* Item(UINT nID, UINT nFlags) const;
  void Changed();

  CWnd* m_owner;
  std::vector<MenuItem> m_items;
};

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
UINT GetMenuItemID(HMENU hMenu, int nPos);
BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
int GetMenuItemCount(HMENU hMenu);
HMENU GetSystemMenu(HWND hWnd, BOOL bRevert);
