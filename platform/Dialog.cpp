// CDialog: creation from a template, modal and modeless life, the class library's handlers.
#include "platform/Dialog.h"

#include "platform/DataExchange.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(DialogTemplate dialogTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(dialogTemplate.id), m_memoryTemplate(std::move(dialogTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
  if (m_hWnd) CDialog::DestroyWindow();
}

// A dialog without a parent belongs to the application's main window, as long as that
// window exists and is another one.
CWnd* CDialog::SafeOwner() const {
  CWnd* owner = m_pParentWnd ? m_pParentWnd->GetTopLevelParent() : AfxGetMainWnd();
  if (!owner || !owner->GetSafeHwnd() || owner == this) return nullptr;
  return owner;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd) return -1;
  CWnd* owner = SafeOwner();
  bool disableOwner = owner && owner->IsWindowEnabled();
  if (disableOwner) owner->EnableWindow(FALSE);
  struct OwnerGuard {
    CDialog* dialog;
    CWnd* owner;
    bool enable;
    ~OwnerGuard() {
      if (dialog->m_hWnd) dialog->DestroyWindow();
      if (enable && owner->GetSafeHwnd()) owner->EnableWindow(TRUE);
    }
  } guard{this, owner, disableOwner};
  m_bModal = true;
  m_bEnded = false;
  m_nModalResult = -1;
  if (!CreateDialogWindow(owner)) return -1;
  if (ContinueModal()) TheFrontEnd().RunModalLoop(*this);
  return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  if (m_hWnd) return FALSE;
  if (!m_memoryTemplate) m_nIDTemplate = nIDTemplate;
  m_pParentWnd = pParentWnd;
  return Create();
}

BOOL CDialog::Create() {
  if (m_hWnd) return FALSE;
  m_bModal = false;
  m_bEnded = false;
  m_nModalResult = -1;
  return CreateDialogWindow(SafeOwner());
}

BOOL CDialog::CreateDialogWindow(CWnd* owner) {
  const DialogTemplate* found = m_memoryTemplate ? &*m_memoryTemplate
                                : AfxGetResourceHandle() ? AfxGetResourceHandle()->FindDialog(m_nIDTemplate)
                                                         : nullptr;
  if (!found) return FALSE;
  m_template = found;
  // The window shows only after its initialisation, as Windows shows a dialog.
  CreateWindowState(0, found->style & ~WS_VISIBLE, found->exStyle, found->caption, nullptr, owner,
                    DialogUnitsToPixelsX(found->cx), DialogUnitsToPixelsY(found->cy));
  m_controls.clear();
  m_nDefId = 0;
  for (const DialogItemTemplate& item : found->items) {
    std::unique_ptr<CControlWnd> control = CControlWnd::Create(item, *this);
    if (!control) {
      m_controls.clear();
      CWnd::DestroyWindow();
      return FALSE;
    }
    if (control->IsDefPushButtonStyle() && m_nDefId == 0) m_nDefId = static_cast<UINT>(item.id);
    m_controls.push_back(control.get());
    AddChild(std::move(control));
  }
  BOOL setFocus = static_cast<BOOL>(SendMessage(WM_INITDIALOG));
  if (!m_hWnd) return FALSE;
  if (setFocus && !FocusedControl())
    if (CWnd* first = GetNextDlgTabItem(nullptr)) first->SetFocus();
  if (m_bModal ? !m_bEnded : (found->style & WS_VISIBLE) != 0) SetStyleBits(WS_VISIBLE, true);
  TheFrontEnd().DialogOpened(*this);
  return TRUE;
}

BOOL CDialog::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  DestroyOwnedWindows();
  TheFrontEnd().DialogClosed(*this);
  m_controls.clear();
  return CWnd::DestroyWindow();
}

void CDialog::EndDialog(int nResult) {
  m_nModalResult = nResult;
  m_bEnded = true;
  if (!m_bModal && m_hWnd) ShowWindow(SW_HIDE);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

const CMessageMap* CDialog::GetMessageMap() const {
  static const CMessageMap map(CWnd::GetMessageMap(), {
                                                          MapCommand(IDOK, &CDialog::OnOK),
                                                          MapCommand(IDCANCEL, &CDialog::OnCancel),
                                                      });
  return &map;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_CLOSE: {
      // Closing a dialog is its Cancel command, unless its Cancel button is disabled.
      CWnd* cancel = GetDlgItem(IDCANCEL);
      if (!cancel || cancel->IsWindowEnabled())
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case DM_GETDEFID:
      return m_nDefId ? static_cast<LRESULT>(MAKELONG(static_cast<WORD>(m_nDefId), DC_HASDEFID)) : 0;
    case DM_SETDEFID:
      m_nDefId = static_cast<UINT>(wParam);
      NotifyChanged(WindowChange::Focus);
      return TRUE;
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}

void CDialog::SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }

DWORD CDialog::GetDefID() const {
  return m_nDefId ? MAKELONG(static_cast<WORD>(m_nDefId), DC_HASDEFID) : 0;
}

bool CDialog::Is3dLook() const {
  if (m_template && (m_template->style & DS_3DLOOK)) return true;
  CWinApp* app = AfxGetApp();
  return app && app->Uses3dControls();
}

CControlWnd* CDialog::Control(int nID) const {
  for (CControlWnd* control : m_controls)
    if (control->GetDlgCtrlID() == nID) return control;
  return nullptr;
}

CControlWnd* CDialog::FocusedControl() const { return static_cast<CControlWnd*>(FocusedChild()); }

CControlWnd* CDialog::DefaultButton() const {
  CControlWnd* focus = FocusedControl();
  if (focus && focus->Kind() == ControlKind::PushButton) return focus;
  CControlWnd* button = m_nDefId ? Control(static_cast<int>(m_nDefId)) : nullptr;
  return button && button->Kind() == ControlKind::PushButton ? button : nullptr;
}
