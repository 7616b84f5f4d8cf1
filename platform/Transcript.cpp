// The transcript's events as JSON lines.
#include "platform/Transcript.h"

#include "platform/Image.h"
#include "platform/Json.h"

namespace {

// Builds the fields of one JSON object in the order they are added.
class CFields {
 public:
  CFields& Str(const char* key, std::string_view value) { return Raw(key, JsonBytes(value)); }
  CFields& Int(const char* key, long long value) { return Raw(key, std::to_string(value)); }
  CFields& Bool(const char* key, bool value) { return Raw(key, value ? "true" : "false"); }
  CFields& Raw(const char* key, const std::string& json) {
    if (!m_text.empty()) m_text += ',';
    m_text += '"';
    m_text += key;
    m_text += "\":";
    m_text += json;
    return *this;
  }
  const std::string& Text() const { return m_text; }

 private:
  std::string m_text;
};

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton: return "button";
    case ControlKind::CheckBox: return "checkbox";
    case ControlKind::GroupBox: return "groupbox";
    case ControlKind::Text: return "static";
    case ControlKind::Picture: return "picture";
    case ControlKind::Icon: return "icon";
    case ControlKind::Progress: return "progress";
  }
  return "control";
}

long long DialogId(const CWnd* wnd) {
  auto* dialog = dynamic_cast<const CDialog*>(wnd);
  return dialog ? dialog->TemplateId() : 0;
}

std::string Range(const CControlWnd& bar) {
  return "[" + std::to_string(bar.RangeMin()) + "," + std::to_string(bar.RangeMax()) + "]";
}

}  // namespace

void CTranscript::Write(const std::string& fields) { m_out << '{' << fields << "}\n"; }

void CTranscript::DialogOpened(const CDialog& dialog) {
  CFields f;
  f.Str("event", "dialog").Int("id", dialog.TemplateId()).Str("state", "open").Str("caption", dialog.Text());
  f.Bool("modal", dialog.IsModal());
  if (const CWnd* owner = dialog.GetWindow(GW_OWNER)) f.Int("owner", DialogId(owner));
  else f.Raw("owner", "null");
  Write(f.Text());
}

void CTranscript::DialogEnded(const CDialog& dialog) {
  CFields f;
  f.Str("event", "dialog").Int("id", dialog.TemplateId()).Str("state", "end");
  if (dialog.IsModal()) f.Int("result", dialog.ModalResult());
  Write(f.Text());
}

void CTranscript::Control(const CDialog& dialog, const CControlWnd& control) {
  CFields f;
  f.Str("event", "control").Int("dialog", dialog.TemplateId()).Int("id", control.GetDlgCtrlID());
  f.Str("kind", KindName(control.Kind())).Str("text", control.Text());
  f.Bool("visible", control.IsWindowVisible()).Bool("enabled", control.IsWindowEnabled());
  f.Bool("focused", dialog.FocusedControl() == &control);
  if (control.Kind() == ControlKind::CheckBox) f.Int("checked", control.CheckState());
  if (control.Kind() == ControlKind::PushButton) f.Bool("default", dialog.DefaultButton() == &control);
  if (control.Kind() == ControlKind::Progress) f.Raw("range", Range(control)).Int("pos", control.Position());
  Write(f.Text());
}

void CTranscript::Menu(const CDialog& dialog, const CMenu& menu) {
  std::string items = "[";
  for (const MenuItem& item : menu.Items()) {
    if (items.size() > 1) items += ',';
    CFields f;
    f.Int("id", item.id).Str("text", item.text).Bool("grayed", item.IsGrayed());
    if (item.IsSeparator()) f.Bool("separator", true);
    items += '{' + f.Text() + '}';
  }
  items += ']';
  Write(CFields().Str("event", "menu").Int("dialog", dialog.TemplateId()).Raw("items", items).Text());
}

void CTranscript::Action(int line, std::string_view text) {
  Write(CFields().Str("event", "action").Int("line", line).Str("text", text).Text());
}

void CTranscript::MessageBox(const CWnd* owner, std::string_view caption, std::string_view text, UINT type,
                             int answer) {
  CFields f;
  f.Str("event", "messagebox").Str("caption", caption).Str("text", text).Int("type", type).Int("answer", answer);
  if (owner) f.Int("owner", DialogId(owner));
  else f.Raw("owner", "null");
  Write(f.Text());
}

void CTranscript::ProgressRange(const CDialog& dialog, const CControlWnd& bar) {
  CFields f;
  f.Str("event", "progress").Int("dialog", dialog.TemplateId()).Int("id", bar.GetDlgCtrlID()).Raw("range", Range(bar));
  Write(f.Text());
}

void CTranscript::ProgressPos(const CDialog& dialog, const CControlWnd& bar) {
  CFields f;
  f.Str("event", "progress").Int("dialog", dialog.TemplateId()).Int("id", bar.GetDlgCtrlID()).Int("pos", bar.Position());
  Write(f.Text());
}

void CTranscript::Text(const CDialog& dialog, const CWnd& control) {
  CFields f;
  f.Str("event", "text").Int("dialog", dialog.TemplateId()).Int("id", control.GetDlgCtrlID()).Str("text", control.Text());
  Write(f.Text());
}

void CTranscript::Caption(const CDialog& dialog) {
  Write(CFields().Str("event", "caption").Int("dialog", dialog.TemplateId()).Str("text", dialog.Text()).Text());
}

void CTranscript::Window(const CDialog& dialog) {
  CFields f;
  f.Str("event", "window").Int("dialog", dialog.TemplateId());
  f.Bool("visible", dialog.IsWindowVisible()).Bool("iconic", dialog.IsIconic());
  Write(f.Text());
}

void CTranscript::IconDrawn(const CDialog& dialog, HICON icon, int x, int y) {
  CFields f;
  f.Str("event", "drawicon").Int("dialog", dialog.TemplateId()).Int("icon", icon ? icon->Id() : 0);
  f.Int("x", x).Int("y", y);
  Write(f.Text());
}

void CTranscript::ExitWindows(UINT flags) { Write(CFields().Str("event", "exitwindows").Int("flags", flags).Text()); }

void CTranscript::Error(int line, std::string_view text) {
  Write(CFields().Str("event", "error").Int("line", line).Str("text", text).Text());
}
