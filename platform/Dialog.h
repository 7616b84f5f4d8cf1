// CDialog: a dialog built from a template, modal or modeless, with the class library's
// initialisation, OK and Cancel handling, data exchange and the Windows dialog keyboard.
#pragma once

#include <optional>
#include <vector>

#include "platform/ControlWnd.h"
#include "platform/DialogTemplate.h"
#include "platform/Wnd.h"

class CDataExchange;

// The keys of the dialog keyboard interface that are not letters.
enum class DialogKey { Tab, BackTab, Up, Down, Left, Right, Space, Enter, Escape };

class CDialog : public CWnd {
 public:
  // The dialog of template nIDTemplate in the installed resources. Without a parent the
  // dialog is owned by the application's main window once it is created.
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  // A dialog of a template made at run time (the framework's message boxes).
  explicit CDialog(DialogTemplate dialogTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Creates the window, runs OnInitDialog, lets the front end take the user's input until
  // EndDialog, destroys the window and returns EndDialog's result. The owner is disabled
  // meanwhile. -1 when the template is missing or names an unknown window class.
  virtual INT_PTR DoModal();
  // Creates the window modelessly (visible at once when the template says WS_VISIBLE) and runs
  // OnInitDialog. FALSE when the template is missing or the window exists already.
  BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  BOOL Create();
  BOOL DestroyWindow() override;
  // Ends a modal dialog's loop with nResult; a modeless dialog is hidden.
  void EndDialog(int nResult);
  // Exchanges the fields with the controls: TRUE copies controls into fields, FALSE fields into
  // controls.
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID);
  DWORD GetDefID() const;
  // The next (or previous) control with WS_TABSTOP that is visible and enabled, in template
  // order and wrapping; from NULL, the first (or last). NULL when there is none.
  CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
  // The next (or previous) control of pWndCtl's group that can take the focus, wrapping.
  CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;

  // ---- For the front ends
  UINT TemplateId() const { return m_template ? m_template->id : m_nIDTemplate; }
  const DialogTemplate* Template() const { return m_template; }
  bool IsModal() const { return m_bModal; }
  // A modal dialog waits for input until it ends; a modeless one for as long as it exists.
  bool ContinueModal() const { return m_hWnd && !(m_bModal && m_bEnded); }
  INT_PTR ModalResult() const { return m_nModalResult; }
  // Controls drawn in the three-dimensional look (DS_3DLOOK or Enable3dControls).
  bool Is3dLook() const;
  const std::vector<CControlWnd*>& Controls() const { return m_controls; }
  CControlWnd* Control(int nID) const;
  CControlWnd* FocusedControl() const;
  // The push button that shows as the default: the focused push button, else the button of
  // the default id. NULL when neither exists.
  CControlWnd* DefaultButton() const;
  // The dialog keyboard interface, as Windows dialogs have it: Tab and Shift-Tab through the
  // tab stops, arrows within a group, Space on the focused control, Enter for the focused push
  // button or the default id (IDOK without one), Escape for IDCANCEL. Returns whether the key
  // did anything.
  bool HandleKey(DialogKey key);
  // The control whose `&` mnemonic is `letter` (case-insensitive), searched forward from the
  // focus: a button or check box is clicked; a label moves the focus to the next tab stop.
  // Returns whether a control matched.
  bool HandleMnemonic(char letter);

 protected:
  // The base copies the fields into the controls and returns TRUE, so that the focus goes to
  // the first tab stop.
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* pDX);
  const CMessageMap* GetMessageMap() const override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CWnd* SafeOwner() const;
  BOOL CreateDialogWindow(CWnd* owner);
  void PressEnter();
  std::vector<CControlWnd*> GroupOf(CControlWnd* control) const;

  UINT m_nIDTemplate = 0;
  std::optional<DialogTemplate> m_memoryTemplate;
  const DialogTemplate* m_template = nullptr;
  CWnd* m_pParentWnd = nullptr;
  std::vector<CControlWnd*> m_controls;
  bool m_bModal = false;
  bool m_bEnded = false;
  INT_PTR m_nModalResult = -1;
  UINT m_nDefId = 0;
};
