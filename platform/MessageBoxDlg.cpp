// The layout and buttons of the terminal's message boxes.
#include "platform/MessageBoxDlg.h"

#include <algorithm>

#include "platform/TextLayout.h"

namespace {

struct ButtonSpec {
  int id;
  const char* text;
};

// Yes, No, Abort, Retry and Ignore have mnemonics; OK and Cancel have Enter and Escape.
std::vector<ButtonSpec> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
  }
}

const char* IconTag(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return "(x)";
    case MB_ICONQUESTION: return "(?)";
    case MB_ICONEXCLAMATION: return "(!)";
    case MB_ICONASTERISK: return "(i)";
    default: return nullptr;
  }
}

DialogItemTemplate Cells(int id, const char* cls, DWORD style, int row, int col, int rows, int cols, std::string text) {
  return DialogItemTemplate{id, cls, WS_CHILD | WS_VISIBLE | style, static_cast<short>(col * 4), static_cast<short>(row * 8),
                            static_cast<short>(cols * 4), static_cast<short>(rows * 8), std::move(text), 0};
}

bool HasButton(UINT type, int id) {
  std::vector<ButtonSpec> buttons = ButtonsOf(type);
  return std::any_of(buttons.begin(), buttons.end(), [id](const ButtonSpec& b) { return b.id == id; });
}

}  // namespace

DialogTemplate CMessageBoxDlg::MakeTemplate(const std::string& text, const std::string& caption, UINT type,
                                            int screenCols) {
  const char* tag = IconTag(type);
  int tagCols = tag ? 4 : 0;
  int wrap = std::max(10, std::min(60, screenCols - 10) - tagCols);
  std::vector<WrappedLine> lines = WrapText(AnsiToUnicode(text), wrap);
  int textCols = 0;
  for (const WrappedLine& line : lines) textCols = std::max(textCols, static_cast<int>(line.text.size()));
  int textRows = std::max(1, static_cast<int>(lines.size()));
  std::vector<ButtonSpec> buttons = ButtonsOf(type);
  int buttonCols = 10;
  for (const ButtonSpec& b : buttons) buttonCols = std::max(buttonCols, static_cast<int>(std::string(b.text).size()) + 4);
  int allButtons = static_cast<int>(buttons.size()) * (buttonCols + 2) - 2;
  int cols = std::max({textCols + tagCols + 4, allButtons + 4, static_cast<int>(caption.size()) + 12, 38});
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE |
            ((HasButton(type, IDCANCEL) || (type & MB_TYPEMASK) == MB_OK) ? WS_SYSMENU : 0);
  t.cx = static_cast<short>(cols * 4);
  t.cy = static_cast<short>((textRows + 4) * 8);
  t.caption = caption;
  if (tag) t.items.push_back(Cells(IDC_STATIC, kStaticClass, SS_NOPREFIX, 1, 2, 1, 3, tag));
  t.items.push_back(Cells(IDC_STATIC, kStaticClass, SS_NOPREFIX, 1, 2 + tagCols, textRows, textCols, text));
  UINT defButton = (type & MB_DEFMASK) >> 8;
  if (defButton >= buttons.size()) defButton = 0;
  int col = (cols - allButtons) / 2;
  for (size_t i = 0; i < buttons.size(); ++i, col += buttonCols + 2) {
    DWORD style = (i == defButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | (i == 0 ? WS_GROUP : 0);
    t.items.push_back(Cells(buttons[i].id, kButtonClass, style, textRows + 2, col, 2, buttonCols, buttons[i].text));
  }
  return t;
}

CMessageBoxDlg::CMessageBoxDlg(CWnd* owner, const std::string& text, const std::string& caption, UINT type, int screenCols)
    : CDialog(MakeTemplate(text, caption, type, screenCols), owner), m_type(type) {}

BOOL CMessageBoxDlg::OnInitDialog() {
  // The default button, chosen by MB_DEFBUTTONn, starts with the focus.
  DWORD def = GetDefID();
  GotoDlgCtrl(GetDlgItem(LOWORD(def)));
  return FALSE;
}

void CMessageBoxDlg::OnOK() { EndDialog(IDOK); }

void CMessageBoxDlg::OnCancel() {
  if (HasButton(m_type, IDCANCEL)) EndDialog(IDCANCEL);
  else if ((m_type & MB_TYPEMASK) == MB_OK) EndDialog(IDOK);
}

const CMessageMap* CMessageBoxDlg::GetMessageMap() const {
  static const CMessageMap map(CDialog::GetMessageMap(), {
                                                             MapCommand(IDYES, &CMessageBoxDlg::OnYes),
                                                             MapCommand(IDNO, &CMessageBoxDlg::OnNo),
                                                             MapCommand(IDABORT, &CMessageBoxDlg::OnAbort),
                                                             MapCommand(IDRETRY, &CMessageBoxDlg::OnRetry),
                                                             MapCommand(IDIGNORE, &CMessageBoxDlg::OnIgnore),
                                                         });
  return &map;
}
