// The main dialog and start-up, through the real uninst program and its script front end.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/TestMachine.h"
#include "tests/support/UninstRun.h"

namespace {

class MainDialog : public ::testing::Test {
 protected:
  void SetScript(const std::string& text) { m_machine.Write("drive_c/Capture/uninst.ini", text); }
  void SetState(const std::string& text) { m_machine.Write("drive_c/Capture/uninstin.ini", text); }
  std::string Program() const { return m_machine.Host("drive_c/Capture/uninst.exe"); }
  UninstResult Run(const std::string& script) { return RunUninst(Program(), script); }

  // The check state and visibility of box 1001 + i as the dialog first waited for input.
  static std::string Box(const UninstResult& result, int i) {
    std::vector<std::string> lines = result.Lines({"\"event\":\"control\"", "\"id\":" + std::to_string(1001 + i) + ","});
    return lines.empty() ? "" : lines.front();
  }

  CTestMachine m_machine;
};

TEST_F(MainDialog, PackageFlagsByTheirFirstCharacter) {
  SetState("[Packages]\r\nPackageA=1\r\nPackageB=0\r\nPackageC=\r\nPackageD=10\r\nPackageE=1x\r\nPackageF=2\r\n"
           "PackageG=yes\r\n");
  SetScript("[English]\r\nPackageA=Capture driver\r\n");
  UninstResult result = Run("key ESC\n");
  ASSERT_EQ(result.status, 1) << "stopped before anything was removed\n" << result.errors;
  const int expected[] = {1, 0, 0, 1, 1, 0, 0};
  for (int i = 0; i < 7; ++i) {
    EXPECT_NE(Box(result, i).find("\"visible\":true"), std::string::npos) << i;
    EXPECT_NE(Box(result, i).find("\"checked\":" + std::to_string(expected[i])), std::string::npos) << Box(result, i);
  }
  EXPECT_NE(Box(result, 0).find("\"text\":\"Capture driver\""), std::string::npos) << "label from the language section";
  EXPECT_NE(Box(result, 1).find("\"text\":\"PackageB\""), std::string::npos) << "label defaults to the name";
  EXPECT_TRUE(result.Has({"\"state\":\"end\"", "\"result\":2"}));
}

TEST_F(MainDialog, ListEndsAtLineWithoutEqualsAndAfterSeven) {
  struct Case {
    const char* name;
    std::string packages;
    int shown;
  };
  std::string ten;
  for (int i = 1; i <= 10; ++i) ten += "P" + std::to_string(i) + "=1\r\n";
  const Case cases[] = {
      {"LineWithoutEquals", "A=1\r\nbroken\r\nB=1\r\n", 1},
      {"TenLines", ten, 7},
      {"Three", "A=1\r\nB=1\r\nC=0\r\n", 3},
  };
  for (const Case& c : cases) {
    SetState("[Packages]\r\n" + c.packages);
    UninstResult result = Run("key ESC\n");
    for (int i = 0; i < 7; ++i)
      EXPECT_NE(Box(result, i).find(i < c.shown ? "\"visible\":true" : "\"visible\":false"), std::string::npos)
          << c.name << " box " << i;
  }
}

TEST_F(MainDialog, SectionCutAt1024Bytes) {
  // Five lines of 197 characters fill 990 bytes with their NULs; the sixth is cut by the
  // 1024-byte buffer after 32 characters.
  std::string five;
  for (int i = 0; i < 5; ++i) five += std::string(194, static_cast<char>('a' + i)) + std::to_string(i) + "=1\r\n";
  SetState("[Packages]\r\n" + five + std::string(40, 'z') + "=1\r\n");
  UninstResult result = Run("key ESC\n");
  EXPECT_NE(Box(result, 4).find("\"visible\":true"), std::string::npos);
  EXPECT_NE(Box(result, 5).find("\"visible\":false"), std::string::npos) << "cut before its equals sign";

  SetState("[Packages]\r\n" + five + std::string(31, 'z') + "=1\r\n");
  result = Run("key ESC\n");
  EXPECT_NE(Box(result, 5).find("\"visible\":true"), std::string::npos);
  EXPECT_NE(Box(result, 5).find("\"checked\":0"), std::string::npos) << "cut right after its equals sign";
}

TEST_F(MainDialog, NothingInstalledSaysAllDeletedAndEnds) {
  SetState("[Language]\r\nLanguage=English\r\n");
  SetScript("[English]\r\nUninstallation title=" + std::string(100, 'T') + "\r\n");
  UninstResult result = Run("answer IDOK\n");
  ASSERT_EQ(result.status, 1) << "stopped before anything was removed\n" << result.errors;
  std::string title79(79, 'T');
  EXPECT_TRUE(result.Has({"\"event\":\"messagebox\"", "\"caption\":\"" + title79 + "\"",
                          "The complete Kalvora TK7/TK5 software has been deleted completely!", "\"type\":0"}));
  EXPECT_TRUE(result.Has({"\"event\":\"dialog\"", "\"id\":102", "\"state\":\"end\"", "\"result\":-1"}));
  EXPECT_TRUE(result.Lines({"\"event\":\"action\""}).size() == 1);
}

TEST_F(MainDialog, CancelEscapeAndEnter) {
  SetState("[Packages]\r\nA=1\r\n");
  EXPECT_TRUE(Run("click 2\n").Has({"\"id\":102", "\"state\":\"end\"", "\"result\":2"}));
  UninstResult result = Run("key ENTER\ncheck 1001\nkey ESC\n");
  ASSERT_EQ(result.status, 1) << "stopped before anything was removed\n" << result.errors;
  EXPECT_EQ(result.Lines({"\"state\":\"end\""}).size(), 1u) << "Enter must not end the dialog";
  EXPECT_TRUE(result.Has({"\"id\":102", "\"state\":\"end\"", "\"result\":2"}));
}

TEST_F(MainDialog, CaptionTextsAndMenu) {
  SetState("[Packages]\r\nA=1\r\n");
  SetScript("[English]\r\nUninstallation title=" + std::string(100, 'T') +
            "\r\nUninstallation description=Pick\r\n&OK=&Go\r\n&Cancel=&Stop\r\nAbout uninstall=About 100%\r\n");
  UninstResult result = Run("key ESC\n");
  EXPECT_TRUE(result.Has({"\"event\":\"dialog\"", "\"caption\":\"" + std::string(79, 'T') + "\""}));
  EXPECT_TRUE(result.Has({"\"id\":1012", "\"text\":\"Pick\""}));
  EXPECT_TRUE(result.Has({"\"id\":1010", "\"text\":\"&Go\""}));
  EXPECT_TRUE(result.Has({"\"id\":2,", "\"text\":\"&Stop\""}));
  std::vector<std::string> menu = result.Lines({"\"event\":\"menu\"", "\"dialog\":102"});
  ASSERT_FALSE(menu.empty());
  EXPECT_NE(menu.front().find("{\"id\":16,\"text\":\"About 100%\""), std::string::npos) << menu.front();
  EXPECT_NE(menu.front().find("{\"id\":61440,\"text\":\"&Size\",\"grayed\":true}"), std::string::npos);
  EXPECT_NE(menu.front().find("{\"id\":61488,\"text\":\"Ma&ximize\",\"grayed\":true}"), std::string::npos);
  EXPECT_NE(menu.front().find("{\"id\":61472,\"text\":\"Mi&nimize\",\"grayed\":false}"), std::string::npos);

  SetScript("[English]\r\nAbout uninstall=\r\n");
  menu = Run("key ESC\n").Lines({"\"event\":\"menu\"", "\"dialog\":102"});
  ASSERT_FALSE(menu.empty());
  EXPECT_EQ(menu.front().find("\"id\":16"), std::string::npos);
  EXPECT_EQ(menu.front().find("\"separator\":true}]"), std::string::npos) << "no separator without the item";
}

TEST_F(MainDialog, SystemCommandsSixteenToThirtyOneOpenAbout) {
  SetState("[Packages]\r\nA=1\r\n");
  SetScript("[English]\r\nAbout uninstall=About it\r\nOK=Fine\r\n");
  UninstResult result = Run("syscommand 16\nkey ESC\nsyscommand 31\nclick 1\nsyscommand 32\nkey ESC\n");
  ASSERT_EQ(result.status, 1) << "stopped before anything was removed\n" << result.errors;
  EXPECT_EQ(result.Lines({"\"id\":100", "\"state\":\"open\"", "\"caption\":\"About it\"", "\"owner\":102"}).size(), 2u);
  EXPECT_TRUE(result.Has({"\"dialog\":100", "\"id\":1,", "\"text\":\"Fine\""}));
  EXPECT_TRUE(result.Has({"\"id\":102", "\"state\":\"end\"", "\"result\":2"}));
}

// The language: the state file outside CD mode, the Windows locale in CD mode.
TEST_F(MainDialog, LanguageChoice) {
  struct Case {
    const char* cdVersion;
    const char* locale;    // nullptr: no Locale value
    const char* language;  // the state file's [Language] entry
    const char* expected;
  };
  const Case cases[] = {
      {"0", "00000407", "Spanish", "Spanish"},
      {"0", "00000407", "Deutschsprachige Version", "Deutschsprachige Ve"},
      {"2", "00000407", "French", "French"},
      {"1", "00000407", "French", "German"},
      {"1", "00000C07", "French", "German"},
      {"1", "0000040C", "German", "French"},
      {"1", "0000080C", "German", "French"},
      {"1", "0000040c", "German", "English"},
      {"1", "00000409", "German", "English"},
      {"1", nullptr, "German", "English"},
      {"1", "0000000407", "German", "English"},  // needs 11 bytes: too long for the buffer
  };
  SetScript("[English]\r\nUninstallation title=English\r\n[German]\r\nUninstallation title=German\r\n"
            "[French]\r\nUninstallation title=French\r\n[Spanish]\r\nUninstallation title=Spanish\r\n"
            "[Deutschsprachige Ve]\r\nUninstallation title=Deutschsprachige Ve\r\n");
  for (const Case& c : cases) {
    SetState(std::string("[Settings]\r\nCD_Version=") + c.cdVersion + "\r\n[Language]\r\nLanguage=" + c.language +
             "\r\n[Packages]\r\nA=1\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\International", &key), ERROR_SUCCESS);
    RegDeleteValueA(key, "Locale");
    if (c.locale)
      RegSetValueExA(key, "Locale", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.locale),
                     static_cast<DWORD>(std::strlen(c.locale) + 1));
    RegCloseKey(key);
    UninstResult result = Run("key ESC\n");
    EXPECT_TRUE(result.Has({"\"event\":\"dialog\"", "\"id\":102", std::string("\"caption\":\"") + c.expected + "\""}))
        << c.cdVersion << " " << (c.locale ? c.locale : "-") << " " << c.language << "\n" << result.errors;
  }
}

TEST_F(MainDialog, CommandLineGivenExplicitly) {
  SetState("[Packages]\r\nA=1\r\n");
  CTempDir dir;
  std::ofstream(dir.Path() + "/s.txt") << "key ESC\n";
  const std::string common = "'" + ToolPath("uninst") + "' --machine '" + m_machine.Root() + "' --script '" + dir.Path() +
                             "/s.txt' --transcript '" + dir.Path() + "/t.jsonl' ";
  std::string transcript;
  ASSERT_EQ(RunCommand(common + "--command-line '\"C:\\Capture\\uninst.exe\" /x' 2>&1"), 1);
  RunCommand("cat '" + dir.Path() + "/t.jsonl'", &transcript);
  EXPECT_NE(transcript.find("\"id\":1001,\"kind\":\"checkbox\",\"text\":\"A\",\"visible\":true"), std::string::npos);
  // A bare name: the directory it is started in, which must be on the machine.
  EXPECT_EQ(RunCommand("cd '" + m_machine.Host("drive_c/Capture") + "' && " + common + "--command-line uninst.exe"), 1);
  RunCommand("cat '" + dir.Path() + "/t.jsonl'", &transcript);
  EXPECT_NE(transcript.find("\"id\":1001,\"kind\":\"checkbox\",\"text\":\"A\",\"visible\":true"), std::string::npos);
  EXPECT_EQ(RunCommand("cd / && " + common + "--command-line uninst.exe 2>/dev/null"), 2);
}

TEST_F(MainDialog, ClearErrorsForWhatCannotRun) {
  SetState("[Packages]\r\nA=1\r\n");
  CTempDir elsewhere;
  std::string uninst = "'" + ToolPath("uninst") + "' ";
  std::string out;
  EXPECT_EQ(RunCommand(uninst + "'" + elsewhere.Path() + "/uninst.exe' --script /dev/null --transcript - 2>&1", &out), 3);
  EXPECT_NE(out.find("not inside a machine's drive folder"), std::string::npos) << out;
  EXPECT_EQ(RunCommand(uninst + "'" + Program() + "' </dev/null 2>&1", &out), 2) << "no terminal and no script";
  EXPECT_NE(out.find("uninst:"), std::string::npos);
  EXPECT_EQ(RunCommand(uninst + "--machine '" + elsewhere.Path() + "/none' --command-line 'C:\\x.exe' 2>&1", &out), 3);
  EXPECT_EQ(RunCommand(uninst + " 2>&1", &out), 2);
  EXPECT_EQ(RunCommand(uninst + "--help", &out), 0);
  EXPECT_NE(out.find("--script"), std::string::npos);

  const std::string deep = "drive_c/" + std::string(120, 'd') + "/" + std::string(120, 'e');
  m_machine.MakeDir(deep);
  UninstResult result = RunUninst(m_machine.Host(deep + "/uninst.exe"), "key ESC\n");
  EXPECT_EQ(result.status, 3);
  EXPECT_NE(result.errors.find("256 characters or more"), std::string::npos) << result.errors;
}

}  // namespace
