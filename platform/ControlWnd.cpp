// The controls' window classes: buttons, statics and the progress bar.
#include "platform/ControlWnd.h"

#include <optional>

#include "platform/Resource.h"
#include "platform/TextCase.h"

namespace {

std::optional<ControlKind> KindOf(const DialogItemTemplate& item) {
  if (EqualsNoCase(item.className, kProgressClass)) return ControlKind::Progress;
  if (EqualsNoCase(item.className, kStaticClass)) {
    switch (item.style & SS_TYPEMASK) {
      case SS_BITMAP: return ControlKind::Picture;
      case SS_ICON: return ControlKind::Icon;
      default: return ControlKind::Text;
    }
  }
  if (EqualsNoCase(item.className, kButtonClass)) {
    switch (item.style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON: return ControlKind::PushButton;
      case BS_GROUPBOX: return ControlKind::GroupBox;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE: return ControlKind::CheckBox;
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<CControlWnd> CControlWnd::Create(const DialogItemTemplate& item, CWnd& dialog) {
  std::optional<ControlKind> kind = KindOf(item);
  if (!kind) return nullptr;
  std::unique_ptr<CControlWnd> control(new CControlWnd(*kind, item));
  std::string text = (*kind == ControlKind::Picture || *kind == ControlKind::Icon) ? std::string() : item.text;
  control->CreateWindowState(item.id, item.style | WS_CHILD, 0, std::move(text), &dialog, nullptr,
                             DialogUnitsToPixelsX(item.cx), DialogUnitsToPixelsY(item.cy));
  LPCSTR name = MAKEINTRESOURCEA(static_cast<WORD>(item.imageId));
  if (*kind == ControlKind::Picture) control->m_image = LoadBitmapA(AfxGetResourceHandle(), name);
  if (*kind == ControlKind::Icon) control->m_image = LoadIconA(AfxGetResourceHandle(), name);
  return control;
}

bool CControlWnd::IsDefPushButtonStyle() const {
  return m_kind == ControlKind::PushButton && (GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

void CControlWnd::Click() {
  if (m_kind != ControlKind::PushButton && m_kind != ControlKind::CheckBox) return;
  SetFocus();
  DWORD type = GetStyle() & BS_TYPEMASK;
  if (type == BS_AUTOCHECKBOX) SendMessage(BM_SETCHECK, m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  if (type == BS_AUTO3STATE) SendMessage(BM_SETCHECK, (m_check + 1) % 3);
  if (CWnd* dialog = GetParent())
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), BN_CLICKED),
                        reinterpret_cast<LPARAM>(this));
}

LRESULT CControlWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_kind == ControlKind::Progress && message >= PBM_SETRANGE && message <= PBM_GETPOS)
    return ProgressMessage(message, wParam, lParam);
  if (m_kind == ControlKind::CheckBox) {
    if (message == BM_GETCHECK) return m_check;
    if (message == BM_SETCHECK) {
      UINT check = static_cast<UINT>(wParam) > BST_INDETERMINATE ? BST_CHECKED : static_cast<UINT>(wParam);
      if (check != m_check) {
        m_check = check;
        NotifyChanged(WindowChange::Check);
      }
      return 0;
    }
  }
  if (message == BM_CLICK) {
    Click();
    return 0;
  }
  return CWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT CControlWnd::ProgressMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PBM_SETRANGE:
      return SetRange(LOWORD(static_cast<std::uintptr_t>(lParam)), HIWORD(static_cast<std::uintptr_t>(lParam)));
    case PBM_SETRANGE32:
      return SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_SETPOS:
      return SetPosition(static_cast<int>(wParam));
    case PBM_DELTAPOS:
      return SetPosition(m_pos + static_cast<int>(wParam));
    case PBM_SETSTEP: {
      int previous = m_step;
      m_step = static_cast<int>(wParam);
      return previous;
    }
    case PBM_STEPIT: {
      // Past the end the bar starts over from its minimum, as the common control does.
      int next = m_pos + m_step;
      return SetPosition(next > m_rangeMax ? m_rangeMin + (next - m_rangeMax) : next);
    }
    case PBM_GETRANGE:
      return wParam ? m_rangeMin : m_rangeMax;
    default:  // PBM_GETPOS
      return m_pos;
  }
}

// The position stays inside the range; a range whose maximum is below its minimum pins it to
// the maximum rather than failing.
int CControlWnd::SetPosition(int pos) {
  int previous = m_pos;
  if (pos < m_rangeMin) pos = m_rangeMin;
  if (pos > m_rangeMax) pos = m_rangeMax;
  m_pos = pos;
  NotifyChanged(WindowChange::Progress);
  return previous;
}

LRESULT CControlWnd::SetRange(int low, int high) {
  LRESULT previous = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(m_rangeMin), static_cast<WORD>(m_rangeMax)));
  m_rangeMin = low;
  m_rangeMax = high;
  NotifyChanged(WindowChange::ProgressRange);
  int pos = m_pos;
  if (pos < m_rangeMin || pos > m_rangeMax) SetPosition(pos);
  return previous;
}
