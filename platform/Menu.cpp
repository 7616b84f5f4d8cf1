// The system menu: its standard items, its changes and the Win32 menu functions.
#include "platform/Menu.h"

#include "platform/Wnd.h"

namespace {

constexpr UINT kNoItem = 0xFFFFFFFF;

void SetGrayed(MenuItem& item, bool grayed) {
  item.flags = grayed ? (item.flags | MF_GRAYED) : (item.flags & ~(MF_GRAYED | MF_DISABLED));
}

}  // namespace

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR text) {
  MenuItem item;
  item.flags = nFlags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED);
  if (!item.IsSeparator()) {
    item.id = static_cast<UINT>(nIDNewItem);
    item.text = text ? text : "";
  }
  m_items.push_back(std::move(item));
  Changed();
  return TRUE;
}

UINT CMenu::GetMenuItemID(int nPos) const {
  if (nPos < 0 || nPos >= GetMenuItemCount()) return kNoItem;
  return m_items[static_cast<size_t>(nPos)].id;
}

MenuItem* CMenu::Item(UINT nID, UINT nFlags) {
  return const_cast<MenuItem*>(static_cast<const CMenu*>(this)->Item(nID, nFlags));
}

const MenuItem* CMenu::Item(UINT nID, UINT nFlags) const {
  if (nFlags & MF_BYPOSITION) return nID < m_items.size() ? &m_items[nID] : nullptr;
  for (const MenuItem& item : m_items)
    if (!item.IsSeparator() && item.id == nID) return &item;
  return nullptr;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  MenuItem* item = Item(nIDEnableItem, nEnable);
  if (!item) return kNoItem;
  UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
  item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
  Changed();
  return previous;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
  const MenuItem* item = Item(nID, nFlags);
  return item ? item->flags : kNoItem;
}

int CMenu::GetMenuString(UINT nIDItem, CString& text, UINT nFlags) const {
  const MenuItem* item = Item(nIDItem, nFlags);
  text = item ? item->text.c_str() : "";
  return text.GetLength();
}

// The standard system menu of a dialog: Restore, Move, Size, Minimize, Maximize, a separator
// and Close, at these positions, each greyed when the window's style or state has no use for it.
void CMenu::ResetToSystemMenu(DWORD windowStyle, bool iconic) {
  m_items = {
      {MF_STRING, SC_RESTORE, "&Restore"},
      {MF_STRING, SC_MOVE, "&Move"},
      {(windowStyle & WS_THICKFRAME) ? MF_STRING : MF_GRAYED, SC_SIZE, "&Size"},
      {MF_STRING, SC_MINIMIZE, "Mi&nimize"},
      {(windowStyle & WS_MAXIMIZEBOX) ? MF_STRING : MF_GRAYED, SC_MAXIMIZE, "Ma&ximize"},
      {MF_SEPARATOR, 0, ""},
      {MF_STRING, SC_CLOSE, "&Close\tAlt+F4"},
  };
  UpdateForIconic(windowStyle, iconic);
}

void CMenu::UpdateForIconic(DWORD windowStyle, bool iconic) {
  for (MenuItem& item : m_items) {
    if (item.IsSeparator()) continue;
    if (item.id == SC_RESTORE) SetGrayed(item, !iconic);
    if (item.id == SC_MINIMIZE) SetGrayed(item, iconic || !(windowStyle & WS_MINIMIZEBOX));
  }
  Changed();
}

void CMenu::Changed() {
  if (m_owner && m_owner->GetSafeHwnd()) TheFrontEnd().WindowChanged(*m_owner, WindowChange::Menu);
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  return hMenu ? hMenu->AppendMenu(uFlags, uIDNewItem, lpNewItem) : FALSE;
}

UINT GetMenuItemID(HMENU hMenu, int nPos) { return hMenu ? hMenu->GetMenuItemID(nPos) : kNoItem; }

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
  return hMenu ? static_cast<BOOL>(hMenu->EnableMenuItem(uIDEnableItem, uEnable)) : static_cast<BOOL>(kNoItem);
}

int GetMenuItemCount(HMENU hMenu) { return hMenu ? hMenu->GetMenuItemCount() : -1; }

HMENU GetSystemMenu(HWND hWnd, BOOL bRevert) { return hWnd ? hWnd->GetSystemMenu(bRevert) : nullptr; }
