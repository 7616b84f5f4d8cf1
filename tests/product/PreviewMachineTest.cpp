// The machine of a dry run, in the process: the run sees its own changes (files deleted are
// gone, text written reads back, registry keys deleted no longer open and the next subkey takes
// the deleted one's index), each change fails where the real machine would refuse it, and the
// real machine is never touched.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "platform/DryRunMachine.h"
#include "platform/ExitWindows.h"
#include "platform/Registry.h"
#include "platform/RegistryRoots.h"
#include "tests/support/TestMachine.h"

namespace fs = std::filesystem;

namespace {

const RegKeyId kMachineRoot = FindRegRootByName("HKEY_LOCAL_MACHINE")->id;

// Every file's bytes below the machine's drive C:, and every folder.
std::map<std::string, std::string> Files(const CTestMachine& m) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(m.Host("drive_c"))) {
    std::string relative = fs::relative(entry.path(), m.Root()).string();
    files[relative] = entry.is_directory() ? std::string("<folder>") : m.Read(relative);
  }
  return files;
}

std::vector<std::string> Names(IMachine& machine, const std::string& folder) {
  std::vector<DirEntry> entries;
  EXPECT_TRUE(machine.ListDirectory(folder, &entries).IsOk()) << folder;
  std::vector<std::string> names;
  for (const DirEntry& entry : entries) names.push_back(entry.name);
  return names;
}

class PreviewMachine : public ::testing::Test {
 protected:
  PreviewMachine() : m_machine(false) {
    m_machine.Write("drive_c/Apps/keep.txt", "keep");
    m_machine.Write("drive_c/Apps/gone.txt", "gone");
    m_machine.Write("drive_c/Apps/locked.txt", "read-only");
    ::chmod(m_machine.Host("drive_c/Apps/locked.txt").c_str(), 0444);
    m_machine.Write("drive_c/Lone/only.txt", "only");
    m_machine.MakeDir("drive_c/Empty");
    m_machine.Write("drive_c/WINDOWS/app.ini", "[a]\r\nx=1\r\n");
  }

  CTestMachine m_machine;
};

TEST_F(PreviewMachine, FilesChangeOnlyInTheRunsOwnView) {
  const auto before = Files(m_machine);
  {
    CDryRunMachine dry(m_machine.Machine());
    FileInfo info;
    struct Refusal {
      const char* what;
      Status status;
      DWORD code;
    };
    const Refusal refusals[] = {
        {"a read-only file", dry.DeleteFile("C:\\Apps\\locked.txt"), ERROR_ACCESS_DENIED},
        {"a folder as a file", dry.DeleteFile("C:\\Apps"), ERROR_ACCESS_DENIED},
        {"a missing file", dry.DeleteFile("C:\\Apps\\none.txt"), ERROR_FILE_NOT_FOUND},
        {"a folder that is not empty", dry.RemoveDirectory("C:\\Apps"), ERROR_DIR_NOT_EMPTY},
        {"a file as a folder", dry.RemoveDirectory("C:\\Apps\\keep.txt"), ERROR_DIRECTORY},
        {"a drive's root", dry.RemoveDirectory("C:\\"), ERROR_ACCESS_DENIED},
        {"a write into a missing folder", dry.WriteFileAtomic("C:\\Nowhere\\x.ini", "x"), ERROR_PATH_NOT_FOUND},
        {"a write over a read-only file", dry.WriteFileAtomic("C:\\Apps\\locked.txt", "x"), ERROR_ACCESS_DENIED},
        {"a folder that is there", dry.CreateDirectory("C:\\Apps"), ERROR_ALREADY_EXISTS},
        {"a move onto a file", dry.MoveFile("C:\\Apps\\keep.txt", "C:\\Apps\\gone.txt"), ERROR_ALREADY_EXISTS},
    };
    for (const Refusal& r : refusals) EXPECT_EQ(r.status.Code(), r.code) << r.what;

    ASSERT_TRUE(dry.DeleteFile("c:\\apps\\GONE.TXT").IsOk());
    EXPECT_EQ(dry.GetFileInfo("C:\\Apps\\gone.txt", &info).Code(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(dry.OpenNoShare("C:\\Apps\\gone.txt").Code(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(dry.DeleteFile("C:\\Apps\\gone.txt").Code(), ERROR_FILE_NOT_FOUND) << "already gone";
    EXPECT_EQ(Names(dry, "C:\\Apps"), (std::vector<std::string>{"keep.txt", "locked.txt"}));

    // A folder emptied in the run's view can go, and is then gone too.
    ASSERT_TRUE(dry.DeleteFile("C:\\Lone\\only.txt").IsOk());
    ASSERT_TRUE(dry.RemoveDirectory("C:\\Lone").IsOk());
    EXPECT_EQ(dry.GetFileInfo("C:\\Lone", &info).Code(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(dry.WriteFileAtomic("C:\\Lone\\again.txt", "x").Code(), ERROR_PATH_NOT_FOUND);

    // Text written reads back, with a new stamp each time, so a reader that caches sees it.
    FileStamp first;
    FileStamp second;
    std::string text;
    ASSERT_TRUE(dry.WriteFileAtomic("C:\\WINDOWS\\app.ini", "[a]\r\n").IsOk());
    ASSERT_TRUE(dry.ReadFile("C:\\WINDOWS\\app.ini", &text, &first).IsOk());
    EXPECT_EQ(text, "[a]\r\n");
    ASSERT_TRUE(dry.WriteFileAtomic("C:\\WINDOWS\\app.ini", "[b]\r\n").IsOk());
    ASSERT_TRUE(dry.ReadFile("C:\\WINDOWS\\app.ini", &text, &second).IsOk());
    EXPECT_EQ(text, "[b]\r\n");
    EXPECT_NE(first, second);
    ASSERT_TRUE(dry.GetFileInfo("C:\\WINDOWS\\app.ini", &info).IsOk());
    EXPECT_EQ(info.size, 5u);

    // A folder made in the run holds what is written into it.
    ASSERT_TRUE(dry.CreateDirectory("C:\\Empty\\New").IsOk());
    ASSERT_TRUE(dry.WriteFileAtomic("C:\\Empty\\New\\made.ini", "made").IsOk());
    EXPECT_EQ(Names(dry, "C:\\Empty"), std::vector<std::string>{"New"});
    EXPECT_EQ(Names(dry, "C:\\Empty\\New"), std::vector<std::string>{"made.ini"});
    FileLock lock;
    EXPECT_TRUE(dry.LockFileForUpdate("C:\\Empty\\New\\made.ini", &lock).IsOk());
    EXPECT_EQ(dry.LockFileForUpdate("C:\\Nowhere\\x.ini", &lock).Code(), ERROR_PATH_NOT_FOUND);

    // A move takes the bytes along.
    ASSERT_TRUE(dry.MoveFile("C:\\Apps\\keep.txt", "C:\\Empty\\kept.txt").IsOk());
    ASSERT_TRUE(dry.ReadFile("C:\\Empty\\kept.txt", &text, nullptr).IsOk());
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(dry.GetFileInfo("C:\\Apps\\keep.txt", &info).Code(), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(dry.MoveFile("C:\\Empty\\New", "C:\\Moved").IsOk());
    ASSERT_TRUE(dry.ReadFile("C:\\Moved\\made.ini", &text, nullptr).IsOk());
    EXPECT_EQ(text, "made");
    EXPECT_EQ(dry.MoveFile("C:\\Moved", "C:\\Moved\\Inside").Code(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(Files(m_machine), before);
}

TEST_F(PreviewMachine, RegistryChangesAreSeenAndRolledBack) {
  IMachine& real = m_machine.Machine();
  RegKeyId soft = 0;
  ASSERT_TRUE(real.RegCreateKey(kMachineRoot, "Soft", &soft).IsOk());
  for (const char* name : {"K1", "K2", "K3"}) {
    RegKeyId key = 0;
    ASSERT_TRUE(real.RegCreateKey(soft, name, &key).IsOk());
    ASSERT_TRUE(real.RegSetValue(key, "v", RegValue{REG_SZ, std::string(name) + '\0'}).IsOk());
  }
  {
    CDryRunMachine dry(real);
    RegKeyId key = 0;
    std::string name;
    ASSERT_TRUE(dry.RegDeleteKey(soft, "K2").IsOk());
    EXPECT_EQ(dry.RegOpenKey(soft, "K2", &key).Code(), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(dry.RegEnumKey(soft, 1, &name).IsOk());
    EXPECT_EQ(name, "K3") << "the next subkey moves to the deleted one's index";

    // A key the run made before its own transaction keeps its id through that transaction's
    // rollback, and the changes before the transaction stand.
    RegKeyId made = 0;
    ASSERT_TRUE(dry.RegCreateKey(soft, "K4", &made).IsOk());
    ASSERT_TRUE(dry.RegBeginTransaction().IsOk());
    EXPECT_EQ(dry.RegBeginTransaction().Code(), ERROR_INVALID_FUNCTION) << "transactions do not nest";
    ASSERT_TRUE(dry.RegDeleteKey(soft, "K1").IsOk());
    EXPECT_EQ(dry.RegOpenKey(soft, "K1", &key).Code(), ERROR_FILE_NOT_FOUND);
    dry.RegRollbackTransaction();
    EXPECT_TRUE(dry.RegOpenKey(soft, "K1", &key).IsOk()) << "the rolled-back deletion is undone";
    EXPECT_EQ(dry.RegOpenKey(soft, "K2", &key).Code(), ERROR_FILE_NOT_FOUND) << "the earlier one stands";
    EXPECT_TRUE(dry.RegCheckKey(made).IsOk());
    ASSERT_TRUE(dry.RegSetValue(made, "w", RegValue{REG_DWORD, std::string(4, '\1')}).IsOk());

    // A committed transaction keeps its changes in the run's view.
    ASSERT_TRUE(dry.RegOpenKey(soft, "K3", &key).IsOk());
    ASSERT_TRUE(dry.RegBeginTransaction().IsOk());
    ASSERT_TRUE(dry.RegDeleteValue(key, "v").IsOk());
    ASSERT_TRUE(dry.RegCommitTransaction().IsOk());
    RegValue value;
    EXPECT_EQ(dry.RegQueryValue(key, "v", &value).Code(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(dry.RegCommitTransaction().Code(), ERROR_INVALID_FUNCTION);
    EXPECT_TRUE(dry.RegSync().IsOk());
  }
  // The real registry, read afresh, as it was.
  CHostMachine fresh(m_machine.Root());
  std::vector<std::string> names;
  std::string name;
  for (DWORD i = 0; fresh.RegEnumKey(soft, i, &name).IsOk(); ++i) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"K1", "K2", "K3"}));
  RegKeyId key = 0;
  RegValue value;
  ASSERT_TRUE(fresh.RegOpenKey(soft, "K3", &key).IsOk());
  EXPECT_TRUE(fresh.RegQueryValue(key, "v", &value).IsOk());
}

TEST_F(PreviewMachine, ARestartWorksThroughTheListInTheRunsView) {
  m_machine.Write("drive_c/WINDOWS/wininit.ini", "[Rename]\r\nNUL=C:\\Apps\\gone.txt\r\n");
  const auto before = Files(m_machine);
  {
    CDryRunMachine dry(m_machine.Machine());
    InstallMachine(&dry);
    EXPECT_EQ(dry.ExitWindows(EWX_LOGOFF).Code(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(dry.ExitWindows(EWX_SHUTDOWN).IsOk());
    FileInfo info;
    EXPECT_TRUE(dry.GetFileInfo("C:\\Apps\\gone.txt", &info).IsOk()) << "a shutdown deletes nothing";
    EXPECT_TRUE(dry.ExitWindows(EWX_REBOOT).IsOk());
    EXPECT_EQ(dry.GetFileInfo("C:\\Apps\\gone.txt", &info).Code(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(dry.GetFileInfo("C:\\WINDOWS\\wininit.bak", &info).IsOk());
    InstallMachine(nullptr);
  }
  EXPECT_EQ(Files(m_machine), before);
  EXPECT_FALSE(m_machine.Exists("exitwindows.log"));
}

}  // namespace
