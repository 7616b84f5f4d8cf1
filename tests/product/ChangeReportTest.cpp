// What the machine seam reports of a run's changes: profile files entry by entry, files with
// their sizes and their spelling on disk, registry changes only once they are committed, what
// failed with why, and nothing for what was already gone.
#include <gtest/gtest.h>

#include "platform/IniChanges.h"
#include "platform/ObservedMachine.h"
#include "platform/Registry.h"
#include "platform/RegistryRoots.h"
#include "tests/support/TestMachine.h"

namespace {

const RegKeyId kMachineRoot = FindRegRootByName("HKEY_LOCAL_MACHINE")->id;

class CRecorder : public IChangeObserver {
 public:
  void OnChange(const Change& change) override { changes.push_back(change); }
  std::vector<Change> changes;
};

// "removed x" lines for comparing reports at a glance.
std::vector<std::string> Texts(const std::vector<Change>& changes) {
  std::vector<std::string> texts;
  for (const Change& c : changes) {
    std::string text;
    switch (c.kind) {
      case ChangeKind::FileDeleted: text = "file- " + c.path + " " + std::to_string(c.size); break;
      case ChangeKind::FileCreated: text = "file+ " + c.path + " " + std::to_string(c.size); break;
      case ChangeKind::FileMoved: text = "move " + c.path + " > " + c.target; break;
      case ChangeKind::FolderCreated: text = "folder+ " + c.path; break;
      case ChangeKind::FolderRemoved: text = "folder- " + c.path; break;
      case ChangeKind::IniEntryRemoved: text = "entry- " + c.path + " [" + c.section + "] " + c.line; break;
      case ChangeKind::IniEntryAdded: text = "entry+ " + c.path + " [" + c.section + "] " + c.line; break;
      case ChangeKind::IniSectionRemoved: text = "section- " + c.path + " [" + c.section + "]"; break;
      case ChangeKind::RegKeyCreated: text = "key+ " + c.path; break;
      case ChangeKind::RegKeyDeleted: text = "key- " + c.path; break;
      case ChangeKind::RegValueSet: text = "value+ " + c.path + " " + c.name; break;
      case ChangeKind::RegValueDeleted: text = "value- " + c.path + " " + c.name; break;
      case ChangeKind::ExitWindows: text = "exit " + std::to_string(c.flags); break;
    }
    if (!c.result.IsOk()) text += " failed " + std::to_string(c.result.Code());
    texts.push_back(text);
  }
  return texts;
}

TEST(IniChanges, EntriesRemovedAndAdded) {
  struct Case {
    const char* name;
    const char* before;
    const char* after;
    std::vector<std::string> changes;  // "-[section] line", "+[section] line", "-[section]"
  };
  const Case cases[] = {
      {"KeyRemoved", "[a]\r\nx=1\r\ny=2\r\n", "[a]\r\ny=2\r\n", {"-[a] x=1"}},
      {"SectionRemoved", "[a]\r\nx=1\r\n[b]\r\nz=3\r\n", "[b]\r\nz=3\r\n", {"-[a]"}},
      {"ValueChanged", "[a]\r\nx=1\r\n", "[a]\r\nx=2\r\n", {"-[a] x=1", "+[a] x=2"}},
      {"LinesAddedToTheEnd", "[Rename]\r\nNUL=C:\\a\r\n", "[Rename]\r\nNUL=C:\\a\r\nNULL=C:\\b\r\nNULL=C:\\b\r\n",
       {"+[Rename] NULL=C:\\b", "+[Rename] NULL=C:\\b"}},
      {"OneOfTwoSameLinesRemoved", "[a]\r\nk=v\r\nk=v\r\n", "[a]\r\nk=v\r\n", {"-[a] k=v"}},
      {"SectionNamesIgnoreCase", "[Boot]\r\nshell=x\r\n", "[BOOT]\r\nshell=x\r\n", {}},
      {"NewSection", "[a]\r\n", "[a]\r\n[b]\r\nq=1\r\nloose text\r\n", {"+[b] q=1", "+[b] loose text"}},
      {"OnlyLayoutChanged", "[a]\r\nx = 1\r\n", "[a]\nx=1\n", {}},
      {"FromNothing", "", "[n]\r\nk=v\r\n", {"+[n] k=v"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> got;
    for (const IniChange& change : DiffIniTexts(c.before, c.after)) {
      std::string text = change.kind == IniChange::Kind::EntryAdded ? "+" : "-";
      text += "[" + change.section + "]";
      if (change.kind != IniChange::Kind::SectionRemoved) text += " " + change.line;
      got.push_back(text);
    }
    EXPECT_EQ(got, c.changes) << c.name;
  }
}

class ChangeReports : public ::testing::Test {
 protected:
  ChangeReports() : m_machine(false), m_observed(m_machine.Machine(), m_recorder) {}
  CTestMachine m_machine;
  CRecorder m_recorder;
  CObservedMachine m_observed;
};

TEST_F(ChangeReports, FilesAndProfileEntries) {
  m_machine.Write("drive_c/Program Files/Long Name.exe", "12345");
  m_machine.Write("drive_c/WINDOWS/win.ini", "[windows]\r\nrun=x\r\nload=y\r\n");
  m_machine.MakeDir("drive_c/Empty");
  // Named by its short name, reported as the machine spells it.
  ASSERT_TRUE(m_observed.DeleteFile("C:\\PROGRA~1\\LONGNA~1.EXE").IsOk());
  EXPECT_EQ(m_observed.DeleteFile("C:\\Program Files\\Long Name.exe").Code(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m_observed.RemoveDirectory("C:\\Empty\\None").Code(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m_observed.RemoveDirectory("C:\\Program Files\\..\\WINDOWS").Code(), ERROR_DIR_NOT_EMPTY);
  ASSERT_TRUE(m_observed.RemoveDirectory("c:\\empty").IsOk());
  ASSERT_TRUE(m_observed.WriteFileAtomic("C:\\WINDOWS\\win.ini", "[windows]\r\nload=y\r\n").IsOk());
  ASSERT_TRUE(m_observed.WriteFileAtomic("C:\\WINDOWS\\wininit.ini", "[Rename]\r\nNUL=C:\\x\r\n").IsOk());
  EXPECT_EQ(Texts(m_recorder.changes), (std::vector<std::string>{
                                           "file- C:\\Program Files\\Long Name.exe 5",
                                           "folder- C:\\WINDOWS failed 145",
                                           "folder- C:\\Empty",
                                           "entry- C:\\WINDOWS\\win.ini [windows] run=x",
                                           "file+ C:\\WINDOWS\\wininit.ini 20",
                                           "entry+ C:\\WINDOWS\\wininit.ini [Rename] NUL=C:\\x",
                                       }));
}

TEST_F(ChangeReports, RegistryChangesWhenCommitted) {
  IMachine& real = m_machine.Machine();
  RegKeyId soft = 0;
  RegKeyId app = 0;
  ASSERT_TRUE(real.RegCreateKey(kMachineRoot, "Soft\\App", &app).IsOk());
  ASSERT_TRUE(real.RegSetValue(app, "v", RegValue{REG_SZ, std::string("1\0", 2)}).IsOk());
  ASSERT_TRUE(m_observed.RegOpenKey(kMachineRoot, "Soft", &soft).IsOk());
  ASSERT_TRUE(m_observed.RegOpenKey(soft, "App\\", &app).IsOk());

  ASSERT_TRUE(m_observed.RegBeginTransaction().IsOk());
  ASSERT_TRUE(m_observed.RegDeleteValue(app, "v").IsOk());
  EXPECT_TRUE(m_recorder.changes.empty()) << "not before the commit";
  m_observed.RegRollbackTransaction();
  EXPECT_TRUE(m_recorder.changes.empty()) << "a rolled-back change never happened";

  ASSERT_TRUE(m_observed.RegBeginTransaction().IsOk());
  ASSERT_TRUE(m_observed.RegDeleteValue(app, "v").IsOk());
  EXPECT_EQ(m_observed.RegDeleteValue(app, "v").Code(), ERROR_FILE_NOT_FOUND);
  ASSERT_TRUE(m_observed.RegCommitTransaction().IsOk());
  // A key never deletes itself: without a child name the deletion fails.
  EXPECT_EQ(m_observed.RegDeleteKey(soft, "").Code(), ERROR_BADKEY);
  EXPECT_EQ(m_observed.RegDeleteKey(soft, "None").Code(), ERROR_FILE_NOT_FOUND);
  RegKeyId made = 0;
  ASSERT_TRUE(m_observed.RegCreateKey(app, "New", &made).IsOk());
  ASSERT_TRUE(m_observed.RegCreateKey(app, "New", &made).IsOk());
  ASSERT_TRUE(m_observed.RegSetValue(made, "", RegValue{REG_SZ, std::string("d\0", 2)}).IsOk());
  ASSERT_TRUE(m_observed.RegDeleteKey(kMachineRoot, "Soft").IsOk());
  EXPECT_EQ(Texts(m_recorder.changes), (std::vector<std::string>{
                                           "value- HKEY_LOCAL_MACHINE\\Soft\\App v",
                                           "key- HKEY_LOCAL_MACHINE\\Soft failed 1010",
                                           "key+ HKEY_LOCAL_MACHINE\\Soft\\App\\New",
                                           "value+ HKEY_LOCAL_MACHINE\\Soft\\App\\New ",
                                           "key- HKEY_LOCAL_MACHINE\\Soft",
                                       }));
}

TEST_F(ChangeReports, ShutdownRequests) {
  EXPECT_EQ(m_observed.ExitWindows(0).Code(), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(m_observed.ExitWindows(1).IsOk());
  EXPECT_EQ(Texts(m_recorder.changes), (std::vector<std::string>{"exit 0", "exit 0 failed 87", "exit 1"}));
}

}  // namespace
