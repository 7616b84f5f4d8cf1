// CWnd: window state, relations, message dispatch and default processing.
#include "platform/Wnd.h"

#include <algorithm>
#include <cstring>

#include "platform/Exception.h"
#include "platform/Menu.h"
#include "platform/WinApp.h"

namespace {

// Every top-level window that exists, so destroying an owner can destroy what it owns, as
// Windows does.
std::vector<CWnd*>& TopLevelWindows() {
  static std::vector<CWnd*> windows;
  return windows;
}

// The client area of a minimised window: the icon's 32 pixels and a small margin.
constexpr RECT kIconicClient{0, 0, 36, 36};

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
  auto& windows = TopLevelWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

void CWnd::CreateWindowState(int id, DWORD style, DWORD exStyle, std::string text, CWnd* parent, CWnd* owner,
                             int pixelWidth, int pixelHeight) {
  m_id = id;
  m_style = style;
  m_exStyle = exStyle;
  m_text = std::move(text);
  m_pParent = parent;
  m_pOwner = parent ? nullptr : owner;
  m_pFocusChild = nullptr;
  m_children.clear();
  m_clientNormal = RECT{0, 0, pixelWidth, pixelHeight};
  m_clientIconic = kIconicClient;
  m_hWnd = this;
  if (!parent) {
    TopLevelWindows().push_back(this);
    if (style & WS_SYSMENU) {
      m_sysMenu = std::make_unique<CMenu>(this);
      m_sysMenu->ResetToSystemMenu(style, IsIconic());
    }
  }
}

CWnd& CWnd::AddChild(std::unique_ptr<CWnd> child) {
  m_children.push_back(std::move(child));
  return *m_children.back();
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  DestroyOwnedWindows();
  m_children.clear();
  m_sysMenu.reset();
  m_pFocusChild = nullptr;
  m_hWnd = nullptr;
  auto& windows = TopLevelWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
  return TRUE;
}

void CWnd::DestroyOwnedWindows() {
  std::vector<CWnd*> owned;
  for (CWnd* wnd : TopLevelWindows())
    if (wnd->m_pOwner == this) owned.push_back(wnd);
  for (CWnd* wnd : owned) wnd->DestroyWindow();
}

void CWnd::NotifyChanged(WindowChange change) {
  if (m_hWnd) TheFrontEnd().WindowChanged(*this, change);
}

void CWnd::SetStyleBits(DWORD bits, bool on) { m_style = on ? (m_style | bits) : (m_style & ~bits); }

// ---- Text

void CWnd::SetWindowText(LPCSTR text) { SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")); }

void CWnd::GetWindowText(CString& text) const { text = m_text.c_str(); }

int CWnd::GetWindowText(LPSTR buffer, int maxCount) const {
  if (!buffer || maxCount <= 0) return 0;
  size_t count = std::min(m_text.size(), static_cast<size_t>(maxCount - 1));
  std::memcpy(buffer, m_text.data(), count);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

int CWnd::GetWindowTextLength() const { return static_cast<int>(m_text.size()); }

void CWnd::SetText(std::string text) {
  if (text == m_text) return;
  m_text = std::move(text);
  NotifyChanged(WindowChange::Text);
}

// ---- State

BOOL CWnd::ShowWindow(int nCmdShow) {
  BOOL wasVisible = IsWindowVisible();
  bool visible = nCmdShow != SW_HIDE;
  if (nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINIMIZED) SetIconic(true);
  if (nCmdShow == SW_RESTORE || nCmdShow == SW_SHOWNORMAL) SetIconic(false);
  if (visible != static_cast<bool>(wasVisible)) {
    SetStyleBits(WS_VISIBLE, visible);
    NotifyChanged(WindowChange::Visible);
  }
  return wasVisible;
}

void CWnd::SetIconic(bool iconic) {
  if (m_pParent || iconic == static_cast<bool>(IsIconic())) return;
  SetStyleBits(WS_MINIMIZE, iconic);
  if (m_sysMenu) m_sysMenu->UpdateForIconic(m_style, iconic);
  NotifyChanged(WindowChange::Iconic);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
  BOOL wasDisabled = !IsWindowEnabled();
  if (static_cast<bool>(bEnable) == static_cast<bool>(wasDisabled)) {
    SetStyleBits(WS_DISABLED, !bEnable);
    if (!bEnable && m_pParent && m_pParent->m_pFocusChild == this) m_pParent->m_pFocusChild = nullptr;
    NotifyChanged(WindowChange::Enabled);
  }
  return wasDisabled;
}

CWnd* CWnd::SetFocus() {
  CWnd* dialog = m_pParent;
  if (!dialog) return nullptr;
  CWnd* previous = dialog->m_pFocusChild;
  if (previous != this) {
    dialog->m_pFocusChild = this;
    dialog->NotifyChanged(WindowChange::Focus);
  }
  return previous;
}

// ---- Relations

CWnd* CWnd::GetWindow(UINT nCmd) const { return nCmd == GW_OWNER ? m_pOwner : nullptr; }

CWnd* CWnd::GetTopLevelParent() const { return m_pParent ? m_pParent : const_cast<CWnd*>(this); }

CWnd* CWnd::GetDlgItem(int nID) const {
  for (const auto& child : m_children)
    if (child->m_id == nID) return child.get();
  return nullptr;
}

void CWnd::SetDlgItemText(int nID, LPCSTR text) {
  if (CWnd* item = GetDlgItem(nID)) item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int nID, CString& text) const {
  CWnd* item = GetDlgItem(nID);
  text = item ? item->m_text.c_str() : "";
  return text.GetLength();
}

void CWnd::CheckDlgButton(int nID, UINT nCheck) { SendDlgItemMessage(nID, BM_SETCHECK, nCheck); }

UINT CWnd::IsDlgButtonChecked(int nID) const {
  CWnd* item = GetDlgItem(nID);
  return item ? static_cast<UINT>(item->SendMessage(BM_GETCHECK)) : 0;
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* item = GetDlgItem(nID);
  return item ? item->SendMessage(message, wParam, lParam) : 0;
}

// ---- Menus, icons, geometry

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
  if (!m_sysMenu) return nullptr;
  if (bRevert) {
    m_sysMenu->ResetToSystemMenu(m_style, IsIconic());
    return nullptr;
  }
  return m_sysMenu.get();
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const { return bBigIcon ? m_hIconBig : m_hIconSmall; }

void CWnd::GetClientRect(LPRECT rect) const {
  if (rect) *rect = IsIconic() ? m_clientIconic : m_clientNormal;
}

BOOL CWnd::MoveWindow(int, int, int nWidth, int nHeight, BOOL) {
  if (!m_hWnd || nWidth < 0 || nHeight < 0) return FALSE;
  (IsIconic() ? m_clientIconic : m_clientNormal) = RECT{0, 0, nWidth, nHeight};
  NotifyChanged(WindowChange::Visible);
  return TRUE;
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
  return TheFrontEnd().MessageBox(this, text ? text : "", caption ? caption : AfxGetAppName(), type);
}

int MessageBoxA(HWND hWnd, LPCSTR text, LPCSTR caption, UINT type) {
  // Windows' own caption for a box that names none.
  return TheFrontEnd().MessageBox(hWnd, text ? text : "", caption ? caption : "Error", type);
}

// ---- Messages

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_hWnd) return 0;
  const char* failure = nullptr;
  std::string text;
  try {
    return Dispatch(message, wParam, lParam);
  } catch (const CFrontEndError&) {
    throw;
  } catch (const CException& e) {
    text = e.what();
    failure = text.c_str();
  } catch (...) {
    failure = kUnexpectedErrorText;
  }
  ReportHandlerException(failure);
  return 0;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  CurrentMessage current{message, wParam, lParam};
  const CurrentMessage* outer = m_pCurrentMsg;
  m_pCurrentMsg = &current;
  struct Restore {
    CWnd* wnd;
    const CurrentMessage* outer;
    ~Restore() { wnd->m_pCurrentMsg = outer; }
  } restore{this, outer};
  return WindowProc(message, wParam, lParam);
}

// The class library reports a handler's exception with the exception's own text where it has
// one, and goes on with the window.
void CWnd::ReportHandlerException(const char* exceptionText) {
  CWnd* owner = m_hWnd ? GetTopLevelParent() : nullptr;
  TheFrontEnd().MessageBox(owner, exceptionText, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

const CMessageMap* CWnd::GetMessageMap() const {
  static const CMessageMap map(nullptr, {});
  return &map;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const MessageMapEntry* entry = GetMessageMap()->Find(message, wParam))
    return entry->handler(*this, wParam, lParam);
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::Default() {
  if (!m_pCurrentMsg) return 0;
  return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnPaint() { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      SetText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
      return TRUE;
    case WM_GETTEXT:
      return GetWindowText(reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return GetWindowTextLength();
    case WM_SETICON: {
      HICON& slot = wParam == ICON_BIG ? m_hIconBig : m_hIconSmall;
      HICON previous = slot;
      slot = reinterpret_cast<HICON>(lParam);
      NotifyChanged(WindowChange::Icon);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? m_hIconBig : m_hIconSmall);
    case WM_SYSCOMMAND:
      return DefSysCommand(static_cast<UINT>(wParam));
    case WM_CLOSE:
      DestroyWindow();
      return 0;
    default:
      // WM_PAINT, WM_ICONERASEBKGND and WM_QUERYDRAGICON need nothing more: the front end
      // draws the window itself, and there is no class icon to offer for dragging.
      return 0;
  }
}

// Move, Size and Maximize do nothing: a dialog in the terminal keeps the size and place its
// template gives it.
LRESULT CWnd::DefSysCommand(UINT nID) {
  switch (nID & 0xFFF0) {
    case SC_CLOSE:
      SendMessage(WM_CLOSE);
      break;
    case SC_MINIMIZE:
      ShowWindow(SW_MINIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(SW_RESTORE);
      break;
    default:
      break;
  }
  return 0;
}
