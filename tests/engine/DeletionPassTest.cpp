// The deletion pass: progress, files in use and read-only files on the restart-time list, the
// rewrite of [Rename], and the uninstaller's own removal.
#include <string>
#include <vector>

#include "platform/Machine.h"
#include "tests/engine/EngineFixture.h"
#include "tests/files/HeldOpenChild.h"

namespace {

const std::string kUninstallRegistry =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalvora TK7/TK5]\r\n"
    "\"DisplayName\"=\"Kalvora\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other Program]\r\n\r\n";
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kOwnKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalvora TK7/TK5";
constexpr const char* kOtherKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other Program";

const std::vector<std::string> kSelfLines = {"NULL=C:\\Capture\\uninst.exe", "NULL=C:\\Capture\\uninst.ini",
                                             "NULL=C:\\Capture\\uninstin.ini"};

class DeletionPassTest : public EngineTest {
 protected:
  // One package whose DeleteFiles section is `lines`; `language` holds the language section.
  void RunFiles(const std::string& lines, std::initializer_list<PackageLine> packages = {{"Pkg"}},
                const std::string& language = "") {
    WriteScript(language + "[Pkg]\r\nDeleteFiles=Files\r\n[Files]\r\n" + lines);
    SetPackages(packages);
    Run();
  }
};

TEST_F(DeletionPassTest, AFileHeldOpenStaysAndFollowsTheExistingRenameLines) {
  WriteFile(kWininit, "[Rename]\r\nNUL=C:\\OLD\\FILE.DLL\r\n");
  WriteFile("C:\\Capture\\a.dll");
  WriteFile("C:\\Capture\\held.dll");
  WriteFile("C:\\Capture\\z.dll");
  CHoldingChild child(HostOf("C:\\Capture\\held.dll"), CHoldingChild::Hold::Read);
  ASSERT_TRUE(child.Holds());
  RunFiles("C:\\Capture\\*.dll=\r\n", {{"Pkg"}, {"Kept", false}});
  EXPECT_TRUE(Exists("C:\\Capture\\held.dll"));
  EXPECT_FALSE(Exists("C:\\Capture\\a.dll"));
  EXPECT_FALSE(Exists("C:\\Capture\\z.dll")) << "the walk goes on after it";
  EXPECT_EQ(RenameLines(), (std::vector<std::string>{"NUL=C:\\OLD\\FILE.DLL", "NULL=C:\\Capture\\held.dll"}));
  EXPECT_EQ(Labels(), (std::vector<std::string>{"C:\\Capture\\a.dll", "C:\\Capture\\z.dll"}))
      << "a file in use never shows in the label";
}

TEST_F(DeletionPassTest, AFileNamedTwiceGoesAtItsFirstEntryAndIsScheduledAtItsSecond) {
  WriteFile("C:\\Capture\\twice.dll");
  RunFiles("C:\\Capture\\twice.dll=\r\nC:\\Capture\\twice.dll=\r\n", {{"Pkg"}, {"Kept", false}});
  EXPECT_FALSE(Exists("C:\\Capture\\twice.dll"));
  EXPECT_EQ(Labels(), std::vector<std::string>{"C:\\Capture\\twice.dll"});
  EXPECT_EQ(RenameLines(), std::vector<std::string>{"NULL=C:\\Capture\\twice.dll"});
}

TEST_F(DeletionPassTest, AFileThatOpensButCannotBeRemovedIsScheduledAndThePassGoesOn) {
  ImportReg(kUninstallRegistry);
  WriteFile("C:\\Capture\\locked.dll");
  MakeReadOnly("C:\\Capture\\locked.dll");
  WriteFile("C:\\Capture\\next.dll");
  RunFiles("C:\\Capture\\locked.dll=\r\nC:\\Capture\\next.dll=\r\n");
  EXPECT_TRUE(Exists("C:\\Capture\\locked.dll"));
  EXPECT_FALSE(Exists("C:\\Capture\\next.dll"));
  std::vector<std::string> expected = {"NULL=C:\\Capture\\locked.dll"};
  expected.insert(expected.end(), kSelfLines.begin(), kSelfLines.end());
  EXPECT_EQ(RenameLines(), expected) << "the self-removal and the rewrite of [Rename] still come";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOwnKey));
  EXPECT_EQ(RunPositions().back(), 100);
}

struct ProgressCase {
  const char* name;
  std::vector<int> sizes;  // of the files, in list order
  std::vector<int> sent;   // the positions the bar was sent during and after the walk
};

TEST_F(DeletionPassTest, TheBarGetsEachPositionUpTo100AndThen100) {
  const std::vector<ProgressCase> cases = {
      {"a total of 1000", {300, 305, 395}, {30, 60, 99, 100}},
      {"a total of 250: positions above 100 are not sent", {150, 99, 1}, {75, 100}},
      {"a total below 100 has no step", {10, 20, 30}, {100}},
      {"an empty list", {}, {100}},
  };
  for (const ProgressCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string lines;
    for (size_t i = 0; i < c.sizes.size(); ++i) {
      std::string path = "C:\\Capture\\Sized\\f" + std::to_string(i) + ".dll";
      WriteFile(path, std::string(static_cast<size_t>(c.sizes[i]), 'x'));
      lines += path + "=\r\n";
    }
    RunFiles(lines, {{"Pkg"}, {"Kept", false}});
    EXPECT_EQ(RunPositions(), c.sent);
    for (size_t i = 0; i < c.sizes.size(); ++i)
      EXPECT_FALSE(Exists("C:\\Capture\\Sized\\f" + std::to_string(i) + ".dll")) << "every entry is handled";
  }
}

struct SelfCase {
  const char* name;
  bool cdMode;
  bool allSelected;
  std::string language;  // the script's language section
  bool removesSelf;
};

TEST_F(DeletionPassTest, TheUninstallerRemovesItselfOnlyWhenEveryPackageWasStruck) {
  const std::vector<SelfCase> cases = {
      {"every package struck", false, true, "", true},
      {"one package left", false, false, "", false},
      {"CD mode", true, true, "", false},
      {"the entry named in the language section", false, true, "[English]\r\nRegistry Uninstall Entry=Other Program\r\n",
       true},
  };
  for (const SelfCase& c : cases) {
    SCOPED_TRACE(c.name);
    ImportReg(kUninstallRegistry);
    WriteFile(kWininit, "[Rename]\r\nNUL=C:\\OLD\\FILE.DLL\r\n");
    m_main.m_bCDVersion = c.cdMode;
    RunFiles("", {{"Pkg"}, {"Other", c.allSelected}}, c.language);
    std::vector<std::string> expected = {"NUL=C:\\OLD\\FILE.DLL"};
    if (c.removesSelf) expected.insert(expected.end(), kSelfLines.begin(), kSelfLines.end());
    EXPECT_EQ(RenameLines(), expected);
    bool namesOther = c.language.find("Other Program") != std::string::npos;
    bool namesOwn = c.language.empty();
    EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kOwnKey), !(c.removesSelf && namesOwn));
    EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kOtherKey), !(c.removesSelf && namesOther));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "the Uninstall key itself always stays";
    EXPECT_TRUE(Exists("C:\\Capture\\uninst.exe")) << "the uninstaller's files wait for the restart";
  }
}

// Passes every call on and notes the subkeys that RegDeleteKey was asked to delete.
class CDeleteKeyRecorder : public CForwardingMachine {
 public:
  using CForwardingMachine::CForwardingMachine;
  Status RegDeleteKey(RegKeyId parent, std::string_view subPath) override {
    m_deleted.emplace_back(subPath);
    return CForwardingMachine::RegDeleteKey(parent, subPath);
  }
  std::vector<std::string> m_deleted;
};

TEST_F(DeletionPassTest, TheUninstallEntryNeverNamesTheUninstallKeyItselfNorAnotherProgramsEntry) {
  const std::string cutName(255, 'k');  // another program's entry, named by the first 255 characters
  for (const std::string& entry : {std::string(), cutName + " and more"}) {
    SCOPED_TRACE(entry.size());
    ImportReg(kUninstallRegistry + "[HKEY_LOCAL_MACHINE\\" + kUninstallKey + "\\" + cutName + "]\r\n\r\n");
    CDeleteKeyRecorder recorder(m_machine.Machine());
    InstallMachine(&recorder);
    RunFiles("", {{"Pkg"}}, "[English]\r\nRegistry Uninstall Entry=" + entry + "\r\n");
    InstallMachine(&m_machine.Machine());
    EXPECT_EQ(recorder.m_deleted, std::vector<std::string>{}) << "no key is asked for";
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOwnKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOtherKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + cutName).c_str()));
    EXPECT_EQ(RenameLines(), kSelfLines) << "the rest of the self-removal stands";
    WriteFile(kWininit, "");
  }
}

TEST_F(DeletionPassTest, RenameIsWrittenBackWhenNothingWasAddedAndNeverLosesALine) {
  RunFiles("", {{"Pkg"}, {"Kept", false}});
  EXPECT_EQ(ReadFile(kWininit), "[Rename]\r\n") << "the section is written back even when empty";

  std::string existing = "[Rename]\r\n";
  std::vector<std::string> expected;
  for (int i = 0; i < 1500; ++i) {
    std::string line = "NUL=C:\\OLD\\DIR" + std::to_string(i) + "\\SOMEFILE.DLL";
    existing += line + "\r\n";
    expected.push_back(line);
  }
  ASSERT_GT(existing.size(), 16384u * 2);
  WriteFile(kWininit, existing + "[Other]\r\nkey=value\r\n");
  const std::string longPath = "C:\\Capture\\" + std::string(240, 'h') + ".dll";
  WriteFile(longPath);
  CHoldingChild child(HostOf(longPath), CHoldingChild::Hold::Read);
  ASSERT_TRUE(child.Holds());
  RunFiles(longPath + "=\r\n", {{"Pkg"}, {"Kept", false}});
  expected.push_back("NULL=" + longPath);
  EXPECT_EQ(RenameLines(), expected) << "every line kept, and the added line whole";
  EXPECT_NE(ReadFile(kWininit).find("[Other]\r\nkey=value\r\n"), std::string::npos);
}

TEST_F(DeletionPassTest, AGroupFolderGoesAfterItsShortcutsUnlessOneIsScheduled) {
  ImportReg("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
            "\"Programs\"=\"C:\\\\WINDOWS\\\\Start Menu\\\\Programs\"\r\n");
  WriteFile("C:\\WINDOWS\\Start Menu\\Programs\\Free\\APP.LNK");
  WriteFile("C:\\WINDOWS\\Start Menu\\Programs\\Busy\\APP.LNK");
  CHoldingChild child(HostOf("C:\\WINDOWS\\Start Menu\\Programs\\Busy\\APP.LNK"), CHoldingChild::Hold::Read);
  ASSERT_TRUE(child.Holds());
  WriteScript("[Pkg]\r\nDeleteGroupEntries=Groups\r\n[Groups]\r\nFree=\r\nBusy=\r\n");
  SetPackages({{"Pkg"}, {"Kept", false}});
  Run();
  EXPECT_FALSE(Exists("C:\\WINDOWS\\Start Menu\\Programs\\Free"));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\Start Menu\\Programs\\Busy\\APP.LNK"));
  EXPECT_EQ(RenameLines(), std::vector<std::string>{"NULL=C:\\WINDOWS\\Start Menu\\Programs\\Busy\\APP.LNK"})
      << "a folder that cannot go gets no line of its own";
}

}  // namespace
