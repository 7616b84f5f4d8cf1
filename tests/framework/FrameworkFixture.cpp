// The framework tests' templates and front end.
#include "FrameworkFixture.h"

namespace {

DialogItemTemplate Item(int id, const char* cls, DWORD style, short x, short y, short cx, short cy, const char* text) {
  return DialogItemTemplate{id, cls, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, text, 0};
}

DialogTemplate TestDialogTemplate() {
  DialogTemplate t;
  t.id = kTestDialog;
  t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  t.cx = 200;
  t.cy = 100;
  t.caption = "Test";
  t.items = {
      Item(201, kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP, 10, 10, 100, 10, "&Alpha"),
      Item(202, kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP, 10, 24, 100, 10, "&Beta"),
      Item(203, kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP, 10, 38, 100, 10, "&Hidden"),
      Item(400, kStaticClass, SS_LEFT, 10, 52, 100, 8, "&Status"),
      Item(300, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 40, 80, 40, 14, "A&pply"),
      Item(301, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 84, 80, 40, 14, "&Fail"),
      Item(IDOK, kButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 128, 80, 30, 14, "OK"),
      Item(IDCANCEL, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 162, 80, 30, 14, "Cancel"),
  };
  return t;
}

DialogTemplate TestProgressTemplate() {
  DialogTemplate t;
  t.id = kTestProgress;
  t.style = DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION;
  t.cx = 120;
  t.cy = 40;
  t.caption = "Working";
  t.items = {
      Item(601, kStaticClass, SS_LEFT, 5, 5, 110, 8, "File"),
      Item(602, kProgressClass, WS_BORDER, 5, 20, 110, 12, ""),
  };
  return t;
}

const char* const kIconXpm[] = {"2 2 2 1", "0 c #000000", ". c None", "0.", ".0"};

}  // namespace

FrameworkTest::FrameworkTest() : m_previousModule(AfxGetResourceHandle()) {
  m_module.AddDialog(TestDialogTemplate());
  m_module.AddDialog(TestProgressTemplate());
  std::string error;
  EXPECT_TRUE(m_module.AddIcon(kTestIcon, kIconXpm, &error).IsOk()) << error;
  AfxSetResourceHandle(&m_module);
}

FrameworkTest::~FrameworkTest() {
  m_scope.reset();
  m_frontEnd.reset();
  AfxSetResourceHandle(m_previousModule);
}

void FrameworkTest::UseScript(const std::string& script) {
  CScript parsed;
  std::string error;
  ASSERT_TRUE(CScript::Parse(script, &parsed, &error)) << error;
  m_scope.reset();
  m_frontEnd = std::make_unique<CScriptFrontEnd>(std::move(parsed), m_transcript);
  m_scope = std::make_unique<CFrontEndScope>(*m_frontEnd);
}

std::vector<std::string> FrameworkTest::Events(const std::string& kind) const {
  std::vector<std::string> lines;
  std::istringstream in(m_transcript.str());
  std::string line;
  std::string tag = "{\"event\":\"" + kind + "\"";
  while (std::getline(in, line))
    if (kind.empty() || line.rfind(tag, 0) == 0) lines.push_back(line);
  return lines;
}

bool FrameworkTest::HasLine(const std::string& line) const {
  for (const std::string& l : Events())
    if (l == line) return true;
  return false;
}
