// The script front end's errors: an action that does not fit or a script that runs out ends
// the run with an error naming the line, never a hang.
#include <gtest/gtest.h>

#include "platform/Json.h"

#include "TestDialog.h"

namespace {

struct BadRun {
  const char* name;
  const char* script;
  const char* error;
};

class ScriptErrorTest : public FrameworkTest, public ::testing::WithParamInterface<BadRun> {};

TEST_P(ScriptErrorTest, EndsTheRunWithAnErrorNamingTheLine) {
  UseScript(GetParam().script);
  CTestDlg dlg;
  dlg.m_onFail = [&dlg] { dlg.MessageBox("boom", "Box"); };
  try {
    dlg.DoModal();
    FAIL() << "the run went on";
  } catch (const CFrontEndError& e) {
    EXPECT_STREQ(e.what(), GetParam().error);
  }
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr) << "the dialog's window is gone after the error";
  ASSERT_EQ(Events("error").size(), 1u);
  EXPECT_NE(Events("error")[0].find("\"text\":" + JsonBytes(GetParam().error) + "}"), std::string::npos)
      << Events("error")[0];
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ScriptErrorTest,
    ::testing::Values(
        BadRun{"NoSuchControl", "click 999\n", "script line 1: 'click 999': there is no control 999 of dialog 500"},
        BadRun{"HiddenControl", "# a comment\n\nclick 203\n", "script line 3: 'click 203': control 203 of dialog 500 is hidden"},
        BadRun{"NotACheckBox", "check 300\n", "script line 1: 'check 300': control 300 of dialog 500 is not a check box"},
        BadRun{"StaticText", "click 400\n", "script line 1: 'click 400': control 400 of dialog 500 is not a button or check box"},
        BadRun{"NoMessageBox", "answer IDOK\n",
               "script line 1: 'answer IDOK': no message box waits (dialog 500 waits for input)"},
        BadRun{"GreyedSystemCommand", "syscommand 61440\n",
               "script line 1: 'syscommand 61440': the item is greyed in the system menu of dialog 500"},
        BadRun{"RanOutWhileDialogWaits", "check 202\n", "the script ended (after line 1) while dialog 500 waits for input"},
        BadRun{"KeyWhileMessageBoxWaits", "click 301\nkey ESC\n",
               "script line 2: 'key ESC': message box \"Box\" (\"boom\") waits for an answer"},
        BadRun{"AnswerWithoutButton", "click 301\nanswer IDYES\n",
               "script line 2: 'answer IDYES': message box \"Box\" (\"boom\") of type 0 has no such button"},
        BadRun{"RanOutWhileMessageBoxWaits", "click 301\n",
               "the script ended (after line 1) while message box \"Box\" (\"boom\") waits for an answer"}),
    [](const auto& info) { return info.param.name; });

TEST(ScriptParseTest, RejectsLinesThatAreNotActions) {
  struct Case {
    const char* script;
    const char* error;
  };
  for (Case c : {Case{"clik 1", "script line 1: unknown action 'clik'"},
                 Case{"\n# x\nclick", "script line 3: 'click' needs a number from 0 to 65535"},
                 Case{"click 1x", "script line 1: 'click' needs a number from 0 to 65535"},
                 Case{"syscommand 70000", "script line 1: 'syscommand' needs a number from 0 to 65535"},
                 Case{"key SPACE", "script line 1: 'key' needs ENTER, ESC or TAB"},
                 Case{"answer maybe", "script line 1: 'answer' needs IDOK, IDCANCEL, IDYES or IDNO"},
                 Case{"click 1 2", "script line 1: 'click 1 2' has more than one argument"}}) {
    CScript script;
    std::string error;
    EXPECT_FALSE(CScript::Parse(c.script, &script, &error)) << c.script;
    EXPECT_EQ(error, c.error);
  }
}

TEST(ScriptParseTest, ReadsActionsIgnoringCaseBlanksAndComments) {
  CScript script;
  std::string error;
  ASSERT_TRUE(CScript::Parse("  Click 0x3F2 \r\n#x\n\nkey esc\nanswer idyes\n", &script, &error)) << error;
  std::optional<ScriptAction> a = script.Next();
  ASSERT_TRUE(a);
  EXPECT_EQ(a->line, 1);
  EXPECT_EQ(a->text, "Click 0x3F2");
  EXPECT_EQ(a->number, 1010);
  a = script.Next();
  ASSERT_TRUE(a);
  EXPECT_EQ(a->line, 4);
  EXPECT_EQ(a->key, DialogKey::Escape);
  a = script.Next();
  ASSERT_TRUE(a);
  EXPECT_EQ(a->number, IDYES);
  EXPECT_FALSE(script.Next());
  EXPECT_EQ(script.LastLine(), 5);
}

}  // namespace
