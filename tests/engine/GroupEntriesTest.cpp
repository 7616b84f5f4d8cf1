// DeleteGroupEntries sections: Start-menu shortcuts by whole group or by prefix, and the group
// folders.
#include <string>
#include <vector>

#include "tests/engine/EngineFixture.h"

namespace {

const std::string kPrograms = "C:\\WINDOWS\\Start Menu\\Programs";

class GroupEntriesTest : public EngineTest {
 protected:
  void SetProgramsValue(const std::string& value) {
    std::string escaped;
    for (char c : value) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    ImportReg("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
              "\"Programs\"=\"" + escaped + "\"\r\n");
  }
  void RunGroupSection(const std::string& lines) {
    WriteScript("[Pkg]\r\nDeleteGroupEntries=Groups\r\n[Groups]\r\n" + lines);
    SetPackages({{"Pkg"}, {"Kept", false}});
    Run();
  }
  void Shortcut(const std::string& group, const std::string& name) { WriteFile(kPrograms + "\\" + group + "\\" + name); }
  bool Has(const std::string& relative) { return Exists(kPrograms + "\\" + relative); }
};

TEST_F(GroupEntriesTest, AWholeGroupTakesItsShortcutsByShortNameAndThenItsFolder) {
  SetProgramsValue(kPrograms);
  Shortcut("Capture", "Capture Help.lnk");
  Shortcut("Capture", "README.LNK");  // already an 8.3 name: the search gives no short name
  Shortcut("Capture\\Tools", "Tool.lnk");
  Shortcut("Other", "Other.lnk");
  RunGroupSection("Capture=\r\nCapture\\Tools=\r\n");
  EXPECT_EQ(Labels(), (std::vector<std::string>{kPrograms + "\\Capture\\CAPTUR~1.LNK", kPrograms + "\\Capture\\README.LNK",
                                                kPrograms + "\\Capture\\Tools\\TOOL.LNK"}));
  EXPECT_TRUE(Has("Capture")) << "its folder still held the nested group when it came";
  EXPECT_FALSE(Has("Capture\\Tools")) << "the nested group is a group of its own";
  EXPECT_TRUE(Has("Other\\Other.lnk"));
  EXPECT_TRUE(RenameLines().empty());
}

struct GroupCase {
  const char* name;
  std::string lines;
  std::vector<std::string> gone;  // below the Programs folder
  std::vector<std::string> kept;
};

TEST_F(GroupEntriesTest, PrefixAndWholeGroupLines) {
  const std::vector<GroupCase> cases = {
      {"a prefix counts five characters", "Capture#Capture1=\r\n", {"Capture\\Capture One.lnk", "Capture\\Captu.lnk"},
       {"Capture\\Captain.lnk", "Capture\\notes.txt", "Capture"}},
      {"an empty prefix takes every shortcut but not the folder", "Capture#=\r\n",
       {"Capture\\Capture One.lnk", "Capture\\Captain.lnk", "Capture\\Captu.lnk"}, {"Capture"}},
      {"other files keep the folder", "Capture=\r\n", {"Capture\\Captain.lnk"}, {"Capture\\notes.txt", "Capture"}},
      {"a group without shortcuts adds nothing, not even its folder", "Empty=\r\nCapture#Capt=\r\n",
       {"Capture\\Captain.lnk"}, {"Empty"}},
      {"a prefix line after a whole group never adds its folder", "Shortcuts=\r\nOnlyCap#Cap=\r\n",
       {"Shortcuts", "OnlyCap\\Cap.lnk"}, {"OnlyCap"}},
      {"a \"#\" after the \"=\" ends the walk", "Capture=a#b\r\nShortcuts=\r\n", {},
       {"Capture\\Captain.lnk", "Shortcuts\\One.lnk"}},
      {"a line without \"=\" ends the walk", "Capture#Capt\r\nShortcuts=\r\n", {}, {"Shortcuts\\One.lnk"}},
  };
  for (const GroupCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetProgramsValue(kPrograms);
    for (const char* name : {"Capture One.lnk", "Captain.lnk", "Captu.lnk", "notes.txt"}) Shortcut("Capture", name);
    Shortcut("Shortcuts", "One.lnk");
    Shortcut("OnlyCap", "Cap.lnk");
    MakeDir(kPrograms + "\\Empty");
    RunGroupSection(c.lines);
    for (const std::string& path : c.gone) EXPECT_FALSE(Has(path)) << path;
    for (const std::string& path : c.kept) EXPECT_TRUE(Has(path)) << path;
  }
}

TEST_F(GroupEntriesTest, TheProgramsFolderComesFromTheRegistryWithOrWithoutItsClosingBackslash) {
  for (const std::string& value : {kPrograms, kPrograms + "\\"}) {
    SCOPED_TRACE(value);
    SetProgramsValue(value);
    Shortcut("Capture", "App.lnk");
    RunGroupSection("Capture=\r\n");
    EXPECT_FALSE(Has("Capture")) << "the same patterns and paths either way";
  }
}

TEST_F(GroupEntriesTest, WithoutTheProgramsValueTheSectionIsPassedOver) {
  Shortcut("Capture", "App.lnk");
  RunGroupSection("Capture=\r\n");
  EXPECT_TRUE(Has("Capture\\App.lnk"));
  SetProgramsValue("C:\\" + std::string(300, 'p'));
  RunGroupSection("Capture=\r\n");
  EXPECT_TRUE(Has("Capture\\App.lnk")) << "a value longer than the room cannot be read";
}

}  // namespace
