// The terminal front end: the stack of dialogs, drawing it, and the modal loop's input.
#include "platform/TerminalUi.h"

#include <algorithm>

#include "platform/Menu.h"
#include "platform/MessageBoxDlg.h"
#include "platform/TextLayout.h"

namespace {

constexpr auto kFrameInterval = std::chrono::milliseconds(50);

}  // namespace

std::unique_ptr<CTerminalUi> CTerminalUi::Open(bool mono, std::string* error) {
  std::unique_ptr<CTerminal> terminal = CTerminal::Open(mono, error);
  if (!terminal) return nullptr;
  return std::unique_ptr<CTerminalUi>(new CTerminalUi(std::move(terminal)));
}

CTerminalUi::CTerminalUi(std::unique_ptr<CTerminal> terminal) : m_terminal(std::move(terminal)) {}

CTerminalUi::~CTerminalUi() = default;

// ---- The dialogs

void CTerminalUi::DialogOpened(CDialog& dialog) {
  // Keys typed before a modal dialog shows (while the program was busy) were meant for what
  // was on the screen then, not for this dialog: they must not press its buttons.
  if (dialog.IsModal()) m_terminal->FlushInput();
  m_dialogs.push_back(&dialog);
  Render(true);
}

void CTerminalUi::DialogClosed(CDialog& dialog) {
  if (m_dirty) Render(true);  // the last state (a bar at its end) is seen before it goes
  m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), &dialog), m_dialogs.end());
  if (m_menu && m_menu->dialog == &dialog) m_menu.reset();
  m_pressed = nullptr;
  m_dirty = true;
  if (!m_dialogs.empty()) Render(true);
}

void CTerminalUi::WindowChanged(CWnd&, WindowChange) {
  m_dirty = true;
  Render(false);
}

int CTerminalUi::MessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type) {
  CMessageBoxDlg box(owner ? owner->GetTopLevelParent() : nullptr, text, caption, type, m_terminal->Cols());
  INT_PTR result = box.DoModal();
  return result < 0 ? 0 : static_cast<int>(result);
}

void CTerminalUi::RunModalLoop(CDialog& dialog) {
  while (dialog.ContinueModal()) {
    Render(true);
    InputEvent event = m_terminal->Read(-1);
    Dispatch(dialog, event);
  }
}

// ---- Drawing

void CTerminalUi::Render(bool now) {
  if (m_composing) return;
  auto time = std::chrono::steady_clock::now();
  if (!now && time - m_lastDraw < kFrameInterval) return;
  if (m_terminal->CheckResize()) m_full = true;
  Compose();
  m_terminal->Draw(m_screen, m_full);
  m_full = false;
  m_dirty = false;
  m_lastDraw = time;
}

PaintOptions CTerminalUi::OptionsFor(const CDialog& dialog) const {
  PaintOptions options;
  options.unicode = m_terminal->Unicode();
  options.mono = !m_terminal->Colours();
  options.shadows = m_terminal->Colours() && dialog.Is3dLook();
  return options;
}

const CTerminalUi::Placement* CTerminalUi::PlaceOf(const CDialog* dialog) const {
  for (const Placement& place : m_places)
    if (place.dialog == dialog) return &place;
  return nullptr;
}

// The dialog that takes input: the topmost one that is visible and enabled.
CDialog* CTerminalUi::ActiveDialog() const {
  for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it)
    if ((*it)->IsWindowVisible() && (*it)->IsWindowEnabled()) return *it;
  return nullptr;
}

// Every dialog is centred on its owner, which is centred on the screen; a minimised one sits
// at the bottom left, as a window's icon did on the desktop.
void CTerminalUi::PlaceDialogs() {
  m_places.clear();
  CellRect screen{0, 0, m_screen.Rows(), m_screen.Cols()};
  int icons = 0;
  for (CDialog* dialog : m_dialogs) {
    if (!dialog->IsWindowVisible()) continue;
    CellRect size = OuterSize(*dialog);
    if (dialog->IsIconic()) {
      m_places.push_back({dialog, {screen.rows - kIconicRows, icons++ * (kIconicCols + 1), kIconicRows, kIconicCols}});
      continue;
    }
    const Placement* owner = PlaceOf(dynamic_cast<const CDialog*>(dialog->GetWindow(GW_OWNER)));
    CellRect area = owner && !owner->dialog->IsIconic() ? owner->outer : screen;
    CellRect outer = CentreIn(size, area);
    outer.row = std::max(0, std::min(outer.row, screen.rows - outer.rows));
    outer.col = std::max(0, std::min(outer.col, screen.cols - outer.cols));
    m_places.push_back({dialog, outer});
  }
}

void CTerminalUi::Compose() {
  m_composing = true;
  m_screen.Resize(m_terminal->Rows(), m_terminal->Cols());
  m_screen.Clear(Role::Desktop);
  PlaceDialogs();
  int needRows = 0, needCols = 0;
  for (const Placement& place : m_places) {
    needRows = std::max(needRows, place.outer.rows);
    needCols = std::max(needCols, place.outer.cols);
  }
  m_tooSmall = needRows > m_screen.Rows() || needCols > m_screen.Cols();
  if (m_tooSmall) ComposeNotice(needRows, needCols);
  else ComposeDialogs();
  m_composing = false;
}

void CTerminalUi::ComposeDialogs() {
  CDialog* active = ActiveDialog();
  // A paint handler may show a message box, which draws the screen anew: work on a copy.
  std::vector<Placement> places = m_places;
  for (const Placement& place : places) {
    // A dialog whose shadow would leave the screen goes without it.
    PaintOptions options = OptionsFor(*place.dialog);
    options.shadows = options.shadows && place.outer.row + place.outer.rows + kShadowRows <= m_screen.Rows() &&
                      place.outer.col + place.outer.cols + kShadowCols <= m_screen.Cols();
    CDialogPainter painter(m_screen, m_pictures, options);
    painter.Paint(*place.dialog, place.outer, place.dialog == active && !m_menu);
    // The dialog's own WM_PAINT may draw over its client area (the icon when minimised); a
    // frame drawn from inside another dialog's paint sends none.
    if (m_painting || !place.dialog->GetSafeHwnd()) continue;
    m_painter = &painter;
    m_painting = place;
    m_composing = false;
    place.dialog->SendMessage(WM_PAINT);
    m_composing = true;
    m_painting.reset();
    m_painter = nullptr;
  }
  if (m_menu) ComposeMenu();
  int row = 0, col = 0;
  const Placement* place = PlaceOf(active);
  if (!m_menu && place && CDialogPainter::CursorCell(*active, place->outer, &row, &col)) m_screen.SetCursor(row, col);
}

void CTerminalUi::IconDrawn(CWnd& wnd, HICON icon, int x, int y) {
  if (m_painting && m_painter && icon && &wnd == m_painting->dialog)
    m_painter->PaintIcon(*icon, ClientOf(m_painting->outer), x, y);
}

// The dialogs do not fit: a notice instead of a clipped dialog whose buttons could be out of
// reach. Work goes on behind it, and the dialogs come back when the terminal is large enough.
void CTerminalUi::ComposeNotice(int needRows, int needCols) {
  char32_t times = (m_terminal->Unicode() ? UnicodeGlyphs() : AsciiGlyphs()).times;
  std::u32string text = AnsiToUnicode("Terminal too small: this window needs " + std::to_string(needCols)) + times +
                        AnsiToUnicode(std::to_string(needRows) + ", the terminal is " + std::to_string(m_screen.Cols())) +
                        times + AnsiToUnicode(std::to_string(m_screen.Rows()) + ". Enlarge the window to continue.");
  for (const CDialog* dialog : m_dialogs)
    for (const CControlWnd* control : dialog->Controls())
      if (control->Kind() == ControlKind::Progress && control->RangeMax() > control->RangeMin()) {
        long percent = (static_cast<long>(control->Position()) - control->RangeMin()) * 100 /
                       (static_cast<long>(control->RangeMax()) - control->RangeMin());
        text += AnsiToUnicode(" Progress: " + std::to_string(percent) + "%.");
      }
  std::vector<WrappedLine> lines = WrapText(text, std::max(1, m_screen.Cols() - 2));
  int top = std::max(0, (m_screen.Rows() - static_cast<int>(lines.size())) / 2);
  for (size_t i = 0; i < lines.size(); ++i) {
    int col = std::max(0, (m_screen.Cols() - static_cast<int>(lines[i].text.size())) / 2);
    m_screen.PutText(top + static_cast<int>(i), col, lines[i].text, Role::Notice);
  }
}

// ---- Input

void CTerminalUi::Dispatch(CDialog& dialog, const InputEvent& event) {
  if (event.key == TermKey::Resize || event.key == TermKey::Repaint) {
    m_full = true;
    return;
  }
  if (m_tooSmall || event.key == TermKey::None) return;
  if (m_menu) {
    MenuEvent(event);
    return;
  }
  if (event.key == TermKey::Mouse) {
    DispatchMouse(dialog, event);
    return;
  }
  if (event.key == TermKey::Char && event.alt && event.ch == ' ') {
    OpenMenu(dialog);
    return;
  }
  if (dialog.IsIconic()) {
    if (event.key == TermKey::Enter || (event.key == TermKey::Char && event.ch == ' ')) SysCommand(dialog, SC_RESTORE);
    return;
  }
  DispatchKey(dialog, event);
}

void CTerminalUi::DispatchKey(CDialog& dialog, const InputEvent& event) {
  switch (event.key) {
    case TermKey::Tab: dialog.HandleKey(DialogKey::Tab); break;
    case TermKey::BackTab: dialog.HandleKey(DialogKey::BackTab); break;
    case TermKey::Up: dialog.HandleKey(DialogKey::Up); break;
    case TermKey::Down: dialog.HandleKey(DialogKey::Down); break;
    case TermKey::Left: dialog.HandleKey(DialogKey::Left); break;
    case TermKey::Right: dialog.HandleKey(DialogKey::Right); break;
    case TermKey::Enter: dialog.HandleKey(DialogKey::Enter); break;
    // Ctrl+C is a key here, not a signal: it cancels like Escape and never kills a run.
    case TermKey::Escape:
    case TermKey::Interrupt: dialog.HandleKey(DialogKey::Escape); break;
    case TermKey::Close: SysCommand(dialog, SC_CLOSE); break;
    case TermKey::Char:
      // None of our controls takes characters, so a bare letter is a mnemonic as Alt+letter is.
      if (event.ch == ' ' && !event.alt) dialog.HandleKey(DialogKey::Space);
      else dialog.HandleMnemonic(event.ch);
      break;
    default: break;
  }
}

// A system command as the system menu gives it: only when the dialog has that menu and the
// item is not greyed.
void CTerminalUi::SysCommand(CDialog& dialog, UINT id) {
  CMenu* menu = dialog.GetSystemMenu(FALSE);
  if (!menu) return;
  UINT state = menu->GetMenuState(id, MF_BYCOMMAND);
  if (state != 0xFFFFFFFF && (state & (MF_GRAYED | MF_DISABLED))) return;
  dialog.SendMessage(WM_SYSCOMMAND, id, 0);
}

void CTerminalUi::DispatchMouse(CDialog& dialog, const InputEvent& event) {
  const Placement* place = PlaceOf(&dialog);
  if (!place || !place->outer.Contains(event.row, event.col)) return;
  bool up = event.mouse != MouseAction::Press;
  switch (CDialogPainter::HitCaption(dialog, place->outer, event.row, event.col)) {
    case CaptionPart::SystemMenu: if (up) OpenMenu(dialog); return;
    case CaptionPart::Minimize: if (up) SysCommand(dialog, SC_MINIMIZE); return;
    case CaptionPart::Close: if (up) SysCommand(dialog, SC_CLOSE); return;
    case CaptionPart::None: break;
  }
  CellRect client = ClientOf(place->outer);
  const CControlWnd* hit = nullptr;
  for (const CControlWnd* control : dialog.Controls()) {
    CellRect r = ControlCells(control->Item());
    bool clickable = control->Kind() == ControlKind::PushButton || control->Kind() == ControlKind::CheckBox;
    if (clickable && control->IsWindowVisible() && control->IsWindowEnabled() &&
        r.Contains(event.row - client.row, event.col - client.col))
      hit = control;
  }
  // A click counts where the button goes up over the control it went down on, as in Windows.
  if (event.mouse == MouseAction::Press) {
    m_pressed = hit;
    return;
  }
  bool click = hit && (event.mouse == MouseAction::Click || hit == m_pressed);
  m_pressed = nullptr;
  if (click) const_cast<CControlWnd*>(hit)->Click();
}
