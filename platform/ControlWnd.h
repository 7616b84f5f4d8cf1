// CControlWnd: a control of a dialog (button, check box, static, picture, progress bar) with
// the state and messages of its window class.
#pragma once

#include "platform/DialogTemplate.h"
#include "platform/Wnd.h"

enum class ControlKind { PushButton, CheckBox, GroupBox, Text, Picture, Icon, Progress };

class CControlWnd : public CWnd {
 public:
  // Makes the control of `item` in `dialog`. Returns nullptr for a window class the framework
  // does not have.
  static std::unique_ptr<CControlWnd> Create(const DialogItemTemplate& item, CWnd& dialog);

  ControlKind Kind() const { return m_kind; }
  const DialogItemTemplate& Item() const { return m_item; }
  bool IsDefPushButtonStyle() const;
  // Takes the focus and does what a mouse click does: a check box toggles, and both it and a
  // push button tell the dialog (WM_COMMAND, BN_CLICKED).
  void Click();

  UINT CheckState() const { return m_check; }
  int RangeMin() const { return m_rangeMin; }
  int RangeMax() const { return m_rangeMax; }
  int Position() const { return m_pos; }
  // The bitmap or icon a picture shows; NULL when it shows none.
  const CImage* Image() const { return m_image; }

 protected:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CControlWnd(ControlKind kind, const DialogItemTemplate& item) : m_kind(kind), m_item(item) {}
  LRESULT ProgressMessage(UINT message, WPARAM wParam, LPARAM lParam);
  int SetPosition(int pos);
  LRESULT SetRange(int low, int high);

  ControlKind m_kind;
  DialogItemTemplate m_item;
  UINT m_check = BST_UNCHECKED;
  int m_rangeMin = 0;
  int m_rangeMax = 100;
  int m_pos = 0;
  int m_step = 10;
  const CImage* m_image = nullptr;
};
