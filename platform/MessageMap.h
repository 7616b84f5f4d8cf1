// CMessageMap: the table through which a window class routes messages to its handlers, with
// the entries a dialog class declares (commands by control id, system commands, paint, drag
// icon). Messages without an entry get the base class's entry or default processing.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/WinUser.h"

struct MessageMapEntry {
  UINT message = 0;
  UINT id = 0;    // the control id, for WM_COMMAND
  WORD code = 0;  // the notification code, for WM_COMMAND
  std::function<LRESULT(CWnd&, WPARAM, LPARAM)> handler;
};

class CMessageMap {
 public:
  // `base` is the base class's map, searched after this one (nullptr for the root).
  CMessageMap(const CMessageMap* base, std::initializer_list<MessageMapEntry> entries)
      : m_base(base), m_entries(entries) {}

  // The entry for the message in this map or the first base map that has one.
  const MessageMapEntry* Find(UINT message, WPARAM wParam) const {
    for (const CMessageMap* map = this; map; map = map->m_base)
      for (const MessageMapEntry& entry : map->m_entries)
        if (entry.message == message &&
            (message != WM_COMMAND || (entry.id == LOWORD(wParam) && entry.code == HIWORD(wParam))))
          return &entry;
    return nullptr;
  }

 private:
  const CMessageMap* m_base;
  std::vector<MessageMapEntry> m_entries;
};

// The entries. `T` is the window class that declares them; the handler is one of its
// members, called on the window that got the message.

// WM_COMMAND from a menu, accelerator or button click (notification code 0) of control `id`.
template <class T>
MessageMapEntry MapCommand(UINT id, void (T::*fn)()) {
  return {WM_COMMAND, id, BN_CLICKED, [fn](CWnd& w, WPARAM, LPARAM) -> LRESULT {
            (static_cast<T&>(w).*fn)();
            return 0;
          }};
}

// The button-clicked notification of control `id`.
template <class T>
MessageMapEntry MapBnClicked(UINT id, void (T::*fn)()) {
  return MapCommand(id, fn);
}

// WM_SYSCOMMAND: fn(command id, the lParam of the message).
template <class T>
MessageMapEntry MapSysCommand(void (T::*fn)(UINT, LPARAM)) {
  return {WM_SYSCOMMAND, 0, 0, [fn](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
            (static_cast<T&>(w).*fn)(static_cast<UINT>(wp), lp);
            return 0;
          }};
}

template <class T>
MessageMapEntry MapPaint(void (T::*fn)()) {
  return {WM_PAINT, 0, 0, [fn](CWnd& w, WPARAM, LPARAM) -> LRESULT {
            (static_cast<T&>(w).*fn)();
            return 0;
          }};
}

// WM_QUERYDRAGICON: fn returns the cursor shown while the minimised window is dragged.
template <class T>
MessageMapEntry MapQueryDragIcon(HCURSOR (T::*fn)()) {
  return {WM_QUERYDRAGICON, 0, 0, [fn](CWnd& w, WPARAM, LPARAM) -> LRESULT {
            return reinterpret_cast<LRESULT>((static_cast<T&>(w).*fn)());
          }};
}
