// CDialog's keyboard interface: tab order, groups, Enter and Escape, mnemonics. Handled here
// once for every dialog, as the Windows dialog manager does.
#include <algorithm>

#include "platform/Dialog.h"
#include "platform/Mnemonic.h"

namespace {

bool CanFocus(const CControlWnd* control) {
  return control->IsWindowVisible() && control->IsWindowEnabled() &&
         (control->Kind() == ControlKind::PushButton || control->Kind() == ControlKind::CheckBox);
}

bool IsTabStop(const CControlWnd* control) {
  return control->IsWindowVisible() && control->IsWindowEnabled() && (control->GetStyle() & WS_TABSTOP);
}

// The control after (or before) `from` in `list` that passes `test`, wrapping; from nullptr,
// the first (or last).
template <class Test>
CControlWnd* NextIn(const std::vector<CControlWnd*>& list, const CWnd* from, bool previous, Test test) {
  int count = static_cast<int>(list.size());
  if (count == 0) return nullptr;
  auto it = std::find(list.begin(), list.end(), from);
  int start = it == list.end() ? (previous ? count : -1) : static_cast<int>(it - list.begin());
  for (int step = 1; step <= count; ++step) {
    int index = ((start + (previous ? -step : step)) % count + count) % count;
    if (test(list[static_cast<size_t>(index)])) return list[static_cast<size_t>(index)];
  }
  return nullptr;
}

bool HasGroupStyles(const std::vector<CControlWnd*>& controls) {
  return std::any_of(controls.begin(), controls.end(), [](const CControlWnd* c) { return c->GetStyle() & WS_GROUP; });
}

}  // namespace

CWnd* CDialog::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
  return NextIn(m_controls, pWndCtl, bPrevious, IsTabStop);
}

// A group runs from a control with WS_GROUP to the next one. A template without any group
// marks gets the groups a reader sees: a run of check boxes, a run of push buttons.
std::vector<CControlWnd*> CDialog::GroupOf(CControlWnd* control) const {
  auto at = std::find(m_controls.begin(), m_controls.end(), control);
  if (at == m_controls.end()) return {};
  bool marked = HasGroupStyles(m_controls);
  auto startsGroup = [&](auto it) {
    if (it == m_controls.begin()) return true;
    if (marked) return ((*it)->GetStyle() & WS_GROUP) != 0;
    return (*it)->Kind() != (*(it - 1))->Kind();
  };
  auto first = at;
  while (!startsGroup(first)) --first;
  auto last = at + 1;
  while (last != m_controls.end() && !startsGroup(last)) ++last;
  return {first, last};
}

CWnd* CDialog::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const {
  std::vector<CControlWnd*> group = GroupOf(static_cast<CControlWnd*>(pWndCtl));
  return NextIn(group, pWndCtl, bPrevious, CanFocus);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  if (pWndCtrl) pWndCtrl->SetFocus();
}

bool CDialog::HandleKey(DialogKey key) {
  CControlWnd* focus = FocusedControl();
  switch (key) {
    case DialogKey::Tab:
    case DialogKey::BackTab: {
      CWnd* next = GetNextDlgTabItem(focus, key == DialogKey::BackTab);
      GotoDlgCtrl(next);
      return next != nullptr;
    }
    case DialogKey::Up:
    case DialogKey::Left:
    case DialogKey::Down:
    case DialogKey::Right: {
      if (!focus) return false;
      CWnd* next = GetNextDlgGroupItem(focus, key == DialogKey::Up || key == DialogKey::Left);
      GotoDlgCtrl(next);
      return next != nullptr && next != focus;
    }
    case DialogKey::Space:
      if (!focus || !CanFocus(focus)) return false;
      focus->Click();
      return true;
    case DialogKey::Enter:
      PressEnter();
      return true;
    case DialogKey::Escape:
      SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(IDCANCEL)));
      return true;
  }
  return false;
}

// Enter presses the focused push button; otherwise the default id's button if it is enabled
// (and nothing if it is disabled); with no default id, the dialog gets IDOK.
void CDialog::PressEnter() {
  CControlWnd* focus = FocusedControl();
  if (focus && focus->Kind() == ControlKind::PushButton && CanFocus(focus)) {
    focus->Click();
    return;
  }
  if (CControlWnd* button = m_nDefId ? Control(static_cast<int>(m_nDefId)) : nullptr) {
    if (button->IsWindowEnabled())
      SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_nDefId), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return;
  }
  SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(IDOK)));
}

bool CDialog::HandleMnemonic(char letter) {
  char wanted = LowerAscii(letter);
  auto matches = [wanted](const CControlWnd* c) {
    if (!c->IsWindowVisible() || !c->IsWindowEnabled()) return false;
    if (c->Kind() == ControlKind::Picture || c->Kind() == ControlKind::Icon || c->Kind() == ControlKind::Progress)
      return false;
    if (c->Kind() == ControlKind::Text && (c->GetStyle() & SS_NOPREFIX)) return false;
    return MnemonicOf(c->Text()) == wanted;
  };
  CControlWnd* match = NextIn(m_controls, FocusedControl(), false, matches);
  if (!match) return false;
  if (CanFocus(match))
    match->Click();
  else
    GotoDlgCtrl(GetNextDlgTabItem(match));
  return true;
}
