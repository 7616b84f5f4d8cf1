// The script front end: actions in, transcript out.
#include "platform/ScriptFrontEnd.h"

#include <algorithm>

#include "platform/Menu.h"
#include "platform/MessageBoxButtons.h"

namespace {

CDialog* DialogOf(CWnd& wnd) { return dynamic_cast<CDialog*>(wnd.GetTopLevelParent()); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

CScriptFrontEnd::CScriptFrontEnd(CScript script, std::ostream& transcript)
    : m_script(std::move(script)), m_transcript(transcript) {}

CScriptFrontEnd::CScriptFrontEnd(CScript script, std::unique_ptr<std::ostream> transcript)
    : m_script(std::move(script)), m_ownedStream(std::move(transcript)), m_transcript(*m_ownedStream) {}

CScriptFrontEnd::~CScriptFrontEnd() { m_transcript.Flush(); }

bool CScriptFrontEnd::IsOpen(const CWnd* wnd) const {
  return std::find(m_open.begin(), m_open.end(), wnd) != m_open.end();
}

void CScriptFrontEnd::Fail(int line, const std::string& message) {
  std::string text = line > 0 ? "script line " + std::to_string(line) + ": " + message : message;
  m_transcript.Error(line, text);
  m_transcript.Flush();
  throw CFrontEndError(text);
}

void CScriptFrontEnd::DialogOpened(CDialog& dialog) {
  m_open.push_back(&dialog);
  m_needsPaint.insert(&dialog);
  m_transcript.DialogOpened(dialog);
  // A modeless dialog never waits, so what it shows is written when it opens.
  if (!dialog.IsModal())
    for (CControlWnd* control : dialog.Controls()) m_transcript.Control(dialog, *control);
}

void CScriptFrontEnd::DialogClosed(CDialog& dialog) {
  m_open.erase(std::remove(m_open.begin(), m_open.end(), &dialog), m_open.end());
  m_needsPaint.erase(&dialog);
  m_transcript.DialogEnded(dialog);
}

void CScriptFrontEnd::WindowChanged(CWnd& wnd, WindowChange change) {
  CDialog* dialog = DialogOf(wnd);
  if (!dialog) return;
  auto* control = dynamic_cast<CControlWnd*>(&wnd);
  // Every position a bar is given counts, also while its dialog initialises.
  if (control && change == WindowChange::Progress) m_transcript.ProgressPos(*dialog, *control);
  if (control && change == WindowChange::ProgressRange) m_transcript.ProgressRange(*dialog, *control);
  if (!IsOpen(dialog)) return;
  if (change == WindowChange::Text) {
    if (control) m_transcript.Text(*dialog, *control);
    else m_transcript.Caption(*dialog);
  }
  if (!control && (change == WindowChange::Visible || change == WindowChange::Iconic)) {
    m_transcript.Window(*dialog);
    m_needsPaint.insert(dialog);
  }
}

void CScriptFrontEnd::IconDrawn(CWnd& wnd, HICON icon, int x, int y) {
  if (CDialog* dialog = DialogOf(wnd)) m_transcript.IconDrawn(*dialog, icon, x, y);
}

void CScriptFrontEnd::ExitWindowsRequested(UINT flags) { m_transcript.ExitWindows(flags); }

// Windows paints a window when its thread next waits for input; so do we.
void CScriptFrontEnd::PaintPending() {
  for (CDialog* dialog : std::vector<CDialog*>(m_open))
    if (m_needsPaint.erase(dialog) && IsOpen(dialog) && dialog->IsWindowVisible()) dialog->SendMessage(WM_PAINT);
}

void CScriptFrontEnd::WriteWaitingState(CDialog& dialog) {
  for (CControlWnd* control : dialog.Controls()) m_transcript.Control(dialog, *control);
  if (CMenu* menu = dialog.GetSystemMenu(FALSE)) m_transcript.Menu(dialog, *menu);
  m_transcript.Flush();
}

void CScriptFrontEnd::RunModalLoop(CDialog& dialog) {
  while (dialog.ContinueModal()) {
    PaintPending();
    if (!dialog.ContinueModal()) break;
    WriteWaitingState(dialog);
    std::optional<ScriptAction> action = m_script.Next();
    if (!action)
      Fail(0, "the script ended (after line " + std::to_string(m_script.LastLine()) + ") while dialog " +
                  std::to_string(dialog.TemplateId()) + " waits for input");
    m_transcript.Action(action->line, action->text);
    Apply(dialog, *action);
  }
}

void CScriptFrontEnd::Apply(CDialog& dialog, const ScriptAction& action) {
  switch (action.verb) {
    case ScriptVerb::Check:
    case ScriptVerb::Uncheck:
    case ScriptVerb::Click:
      ApplyToControl(dialog, action);
      break;
    case ScriptVerb::Key:
      dialog.HandleKey(action.key);
      break;
    case ScriptVerb::SysCommand:
      ApplySysCommand(dialog, action);
      break;
    case ScriptVerb::Answer:
      Fail(action.line, "'" + action.text + "': no message box waits (dialog " + std::to_string(dialog.TemplateId()) +
                            " waits for input)");
  }
}

void CScriptFrontEnd::ApplyToControl(CDialog& dialog, const ScriptAction& action) {
  std::string where = "control " + std::to_string(action.number) + " of dialog " + std::to_string(dialog.TemplateId());
  CControlWnd* control = dialog.Control(static_cast<int>(action.number));
  if (!control) Fail(action.line, "'" + action.text + "': there is no " + where);
  if (!control->IsWindowVisible()) Fail(action.line, "'" + action.text + "': " + where + " is hidden");
  if (!control->IsWindowEnabled()) Fail(action.line, "'" + action.text + "': " + where + " is disabled");
  bool isCheckBox = control->Kind() == ControlKind::CheckBox;
  if (action.verb == ScriptVerb::Click) {
    if (!isCheckBox && control->Kind() != ControlKind::PushButton)
      Fail(action.line, "'" + action.text + "': " + where + " is not a button or check box");
    control->Click();
    return;
  }
  if (!isCheckBox) Fail(action.line, "'" + action.text + "': " + where + " is not a check box");
  UINT wanted = action.verb == ScriptVerb::Check ? BST_CHECKED : BST_UNCHECKED;
  // A three-state box may need two clicks; a box whose handler undoes the click stops after three.
  for (int clicks = 0; clicks < 3 && control->GetSafeHwnd() && control->CheckState() != wanted; ++clicks)
    control->Click();
}

void CScriptFrontEnd::ApplySysCommand(CDialog& dialog, const ScriptAction& action) {
  CMenu* menu = dialog.GetSystemMenu(FALSE);
  if (!menu) Fail(action.line, "'" + action.text + "': dialog " + std::to_string(dialog.TemplateId()) + " has no system menu");
  UINT id = static_cast<UINT>(action.number);
  UINT state = menu->GetMenuState(id, MF_BYCOMMAND);
  if (state != 0xFFFFFFFF && (state & (MF_GRAYED | MF_DISABLED)))
    Fail(action.line, "'" + action.text + "': the item is greyed in the system menu of dialog " +
                          std::to_string(dialog.TemplateId()));
  dialog.SendMessage(WM_SYSCOMMAND, id, 0);
}

int CScriptFrontEnd::MessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type) {
  std::optional<ScriptAction> action = m_script.Next();
  std::string box = "message box " + Quoted(caption) + " (" + Quoted(text) + ")";
  if (!action)
    Fail(0, "the script ended (after line " + std::to_string(m_script.LastLine()) + ") while " + box +
                " waits for an answer");
  m_transcript.Action(action->line, action->text);
  if (action->verb != ScriptVerb::Answer) Fail(action->line, "'" + action->text + "': " + box + " waits for an answer");
  std::vector<int> answers = MessageBoxAnswers(type);
  int answer = static_cast<int>(action->number);
  if (std::find(answers.begin(), answers.end(), answer) == answers.end())
    Fail(action->line, "'" + action->text + "': " + box + " of type " + std::to_string(type & MB_TYPEMASK) +
                           " has no such button");
  m_transcript.MessageBox(owner ? owner->GetTopLevelParent() : nullptr, caption, text, type, answer);
  return answer;
}
