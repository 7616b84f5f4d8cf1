// CTerminalUi: the front end that shows the dialogs in the terminal and takes the keyboard and
// the mouse. The screen is drawn from the dialogs' state, never patched: on every change
// (at most every 50 ms while the program works without reading keys), on resize and on Ctrl+L.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogPainter.h"
#include "platform/FrontEnd.h"
#include "platform/Terminal.h"

class CTerminalUi : public IFrontEnd {
 public:
  // Takes over the terminal; nullptr and a reason when there is none to take.
  static std::unique_ptr<CTerminalUi> Open(bool mono, std::string* error);
  ~CTerminalUi() override;

  void DialogOpened(CDialog& dialog) override;
  void DialogClosed(CDialog& dialog) override;
  void RunModalLoop(CDialog& dialog) override;
  void WindowChanged(CWnd& wnd, WindowChange change) override;
  int MessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type) override;
  void IconDrawn(CWnd& wnd, HICON icon, int x, int y) override;
  void ExitWindowsRequested(UINT) override {}

 private:
  struct Placement {
    CDialog* dialog;
    CellRect outer;
  };
  struct PopupMenu {
    CDialog* dialog;
    int selected;
    CellRect rect;
  };

  explicit CTerminalUi(std::unique_ptr<CTerminal> terminal);
  void Render(bool now);
  void Compose();
  void PlaceDialogs();
  void ComposeNotice(int needRows, int needCols);
  void ComposeDialogs();
  void ComposeMenu();
  const Placement* PlaceOf(const CDialog* dialog) const;
  CDialog* ActiveDialog() const;
  PaintOptions OptionsFor(const CDialog& dialog) const;

  void Dispatch(CDialog& dialog, const InputEvent& event);
  void DispatchKey(CDialog& dialog, const InputEvent& event);
  void DispatchMouse(CDialog& dialog, const InputEvent& event);
  void SysCommand(CDialog& dialog, UINT id);

  void OpenMenu(CDialog& dialog);
  void MenuEvent(const InputEvent& event);
  void MoveMenuSelection(int step);
  void ChooseMenuItem(int index);

  std::unique_ptr<CTerminal> m_terminal;
  CScreen m_screen;
  CPictureCache m_pictures;
  std::vector<CDialog*> m_dialogs;  // open dialogs, bottom of the stack first
  std::vector<Placement> m_places;
  std::optional<PopupMenu> m_menu;
  CDialogPainter* m_painter = nullptr;  // while a dialog paints itself
  std::optional<Placement> m_painting;  // the dialog whose WM_PAINT runs
  const CControlWnd* m_pressed = nullptr;
  bool m_dirty = true;
  bool m_full = false;
  bool m_tooSmall = false;
  bool m_composing = false;
  std::chrono::steady_clock::time_point m_lastDraw{};
};
