// The system menu in the terminal (part of CTerminalUi): opened with Alt+Space or a click on
// the caption's menu box, walked with the arrows, chosen with Enter, a letter or the mouse.
#include <algorithm>

#include "platform/Menu.h"
#include "platform/Mnemonic.h"
#include "platform/TerminalUi.h"
#include "platform/TextLayout.h"

namespace {

// An item's label and the accelerator text after its tab.
std::pair<std::string, std::string> SplitItem(const std::string& text) {
  size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

int ItemWidth(const MenuItem& item) {
  auto [label, accelerator] = SplitItem(item.text);
  int width = static_cast<int>(AnsiToUnicode(ParseMnemonic(label).text).size());
  return accelerator.empty() ? width : width + 3 + static_cast<int>(accelerator.size());
}

}  // namespace

void CTerminalUi::OpenMenu(CDialog& dialog) {
  CMenu* menu = dialog.GetSystemMenu(FALSE);
  if (!menu || menu->Items().empty()) return;
  int width = 0;
  for (const MenuItem& item : menu->Items()) width = std::max(width, ItemWidth(item));
  const Placement* place = PlaceOf(&dialog);
  int row = place ? place->outer.row + 1 : 0;
  int col = place ? place->outer.col + 1 : 0;
  int rows = static_cast<int>(menu->Items().size()) + 2;
  int cols = width + 4;
  // A menu that would leave the screen at the bottom (a minimised dialog's) opens above.
  if (row + rows > m_screen.Rows()) row = std::max(0, (place ? place->outer.row : m_screen.Rows()) - rows);
  col = std::max(0, std::min(col, m_screen.Cols() - cols));
  m_menu = PopupMenu{&dialog, -1, {row, col, rows, cols}};
  MoveMenuSelection(1);
}

void CTerminalUi::MoveMenuSelection(int step) {
  const std::vector<MenuItem>& items = m_menu->dialog->GetSystemMenu(FALSE)->Items();
  int count = static_cast<int>(items.size());
  int index = m_menu->selected;
  for (int i = 0; i < count; ++i) {
    index = ((index + step) % count + count) % count;
    if (!items[static_cast<size_t>(index)].IsSeparator()) break;
  }
  m_menu->selected = index;
}

void CTerminalUi::ChooseMenuItem(int index) {
  CDialog* dialog = m_menu->dialog;
  const std::vector<MenuItem>& items = dialog->GetSystemMenu(FALSE)->Items();
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  const MenuItem& item = items[static_cast<size_t>(index)];
  if (item.IsSeparator() || item.IsGrayed()) return;
  UINT id = item.id;
  m_menu.reset();
  dialog->SendMessage(WM_SYSCOMMAND, id, 0);
}

void CTerminalUi::MenuEvent(const InputEvent& event) {
  const std::vector<MenuItem>& items = m_menu->dialog->GetSystemMenu(FALSE)->Items();
  switch (event.key) {
    case TermKey::Up: MoveMenuSelection(-1); return;
    case TermKey::Down:
    case TermKey::Tab: MoveMenuSelection(1); return;
    case TermKey::Enter: ChooseMenuItem(m_menu->selected); return;
    case TermKey::Escape:
    case TermKey::Interrupt: m_menu.reset(); return;
    case TermKey::Char:
      if (event.ch == ' ' && event.alt) {
        m_menu.reset();
        return;
      }
      for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].IsGrayed() && MnemonicOf(SplitItem(items[i].text).first) == LowerAscii(event.ch)) {
          ChooseMenuItem(static_cast<int>(i));
          return;
        }
      return;
    case TermKey::Mouse:
      if (event.mouse == MouseAction::Press) return;
      if (!m_menu->rect.Contains(event.row, event.col)) {
        m_menu.reset();
        return;
      }
      ChooseMenuItem(event.row - m_menu->rect.row - 1);
      return;
    default: return;
  }
}

void CTerminalUi::ComposeMenu() {
  const CellRect& r = m_menu->rect;
  const Glyphs& glyphs = m_terminal->Unicode() ? UnicodeGlyphs() : AsciiGlyphs();
  m_screen.Fill(r.row, r.col, r.rows, r.cols, U' ', Role::Menu);
  m_screen.Fill(r.row, r.col, 1, r.cols, glyphs.horizontal, Role::Menu);
  m_screen.Fill(r.row + r.rows - 1, r.col, 1, r.cols, glyphs.horizontal, Role::Menu);
  for (int row = r.row; row < r.row + r.rows; ++row) {
    m_screen.Put(row, r.col, glyphs.vertical, Role::Menu);
    m_screen.Put(row, r.col + r.cols - 1, glyphs.vertical, Role::Menu);
  }
  m_screen.Put(r.row, r.col, glyphs.topLeft, Role::Menu);
  m_screen.Put(r.row, r.col + r.cols - 1, glyphs.topRight, Role::Menu);
  m_screen.Put(r.row + r.rows - 1, r.col, glyphs.bottomLeft, Role::Menu);
  m_screen.Put(r.row + r.rows - 1, r.col + r.cols - 1, glyphs.bottomRight, Role::Menu);
  const std::vector<MenuItem>& items = m_menu->dialog->GetSystemMenu(FALSE)->Items();
  for (size_t i = 0; i < items.size(); ++i) {
    int row = r.row + 1 + static_cast<int>(i);
    if (items[i].IsSeparator()) {
      m_screen.Fill(row, r.col + 1, 1, r.cols - 2, glyphs.horizontal, Role::Menu);
      continue;
    }
    bool selected = static_cast<int>(i) == m_menu->selected;
    Role role = items[i].IsGrayed() ? Role::MenuDisabled : selected ? Role::MenuSelected : Role::Menu;
    Role shortcut = items[i].IsGrayed() ? Role::MenuDisabled : selected ? Role::MenuSelectedShortcut : Role::MenuShortcut;
    m_screen.Fill(row, r.col + 1, 1, r.cols - 2, U' ', role);
    auto [label, accelerator] = SplitItem(items[i].text);
    LabelText parsed = ParseMnemonic(label);
    std::u32string text = AnsiToUnicode(parsed.text);
    m_screen.PutText(row, r.col + 2, text, role, r.cols - 4);
    if (parsed.mnemonicIndex >= 0 && parsed.mnemonicIndex < r.cols - 4)
      m_screen.Put(row, r.col + 2 + parsed.mnemonicIndex, text[static_cast<size_t>(parsed.mnemonicIndex)], shortcut);
    std::u32string accel = AnsiToUnicode(accelerator);
    m_screen.PutText(row, r.col + r.cols - 2 - static_cast<int>(accel.size()), accel, role);
  }
}
