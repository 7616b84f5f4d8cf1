// The hostile scripts. The canary folder is {OUT} (host form) or {OUTW} (with backslashes); the
// machine holds links to it and to the host's root (see HostileMachine.cpp). Where a host path
// folds to a path inside the machine ("C:\..\..\tmp\x" is C:\tmp\x), the machine holds the same
// names, and those are removed: the path lands inside, never outside.
#include "tests/hostile/HostileCases.h"

#include <gtest/gtest.h>

#include "platform/Machine.h"
#include "platform/RegFile.h"
#include "tests/registry/RegistryTestUtil.h"

namespace {

using Kind = InsideEffect::Kind;

constexpr const char* kCompleted = "The uninstallation has been completed.";
constexpr const char* kRestarted = "\"event\":\"exitwindows\"";

HostileCase DotChainsAndSeparators() {
  return {.id = "DotChains",
          .name = "files named by .. chains, / separators and host paths",
          .script = R"([Hostile]
DeleteFiles=HostileFiles
[HostileFiles]
C:\..\..\..\..\..\..\..\..{OUTW}\canary.txt=
..\..\..\..\..\..\..\..{OUTW}\dir\*.*=
$windows$\..\..\..\..\..\..\..{OUTW}\*.*=
$system$\..\..\..\..\..\..\..\..{OUTW}\readonly.txt=
C:/../../../../../../..{OUT}/secret.ini=
{OUT}/*.*=
{OUTW}\dir\sub\*.*=
\..\..\..{OUTW}\group\*.*=
C:\Capture\app.exe=
)",
          .effects = {{Kind::Gone, "drive_c{OUT}/canary.txt", ""},
                      {Kind::Gone, "drive_c{OUT}/secret.ini", ""},
                      {Kind::Gone, "drive_c{OUT}/dir/a.dll", ""},
                      {Kind::Gone, "drive_c{OUT}/group/mirror.lnk", ""},
                      {Kind::Gone, "drive_c/Capture/app.exe", ""}},
          .shown = kCompleted};
}

HostileCase DriveFoldersThatAreLinks() {
  return {.id = "DriveLinks",
          .name = "files on drives whose folders are links to the host's root and to the canaries",
          .script = R"([Hostile]
DeleteFiles=HostileFiles
[HostileFiles]
E:{OUTW}\canary.txt=
E:{OUTW}\*.*=
e:/{OUT}/dir/*.*=
E:\..\..{OUTW}\secret.ini=
F:\canary.txt=
F:\*.*=
f:\dir\sub\deep.txt=
F:\..\..\..\*.*=
Z:\*.*=
C:\Capture\app.exe=
)",
          .effects = {{Kind::Gone, "drive_c/Capture/app.exe", ""},
                      {Kind::Present, "drive_e", ""},
                      {Kind::Present, "drive_f", ""}},
          .shown = kCompleted};
}

HostileCase LinksInsideTheMachine() {
  return {.id = "LinksInside",
          .name = "files reached through links inside the machine",
          .script = R"([Hostile]
DeleteFiles=HostileFiles
[HostileFiles]
C:\Capture\Links\Outside\canary.txt=
C:\Capture\Links\Outside\*.*=
C:\Capture\Links\Outside\dir\*.*=
C:\Capture\Links\HostRoot{OUTW}\*.*=
C:\Capture\Links\Climb{OUTW}\*.*=
C:\Capture\Links\Climb\..\..{OUTW}\canary.txt=
C:\Capture\Links\Loop\*.*=
C:\Capture\Links\regdb=
C:\Capture\Links\Inner\inner.dll=
C:\Capture\Links\*.*=
)",
          // A link that leaves the machine cannot be opened, so it waits for the restart; the
          // file behind a link that stays inside is removed like any other.
          .effects = {{Kind::Gone, "drive_c/WINDOWS/SYSTEM/inner.dll", ""},
                      {Kind::Gone, "drive_c/Capture/Links/legit.dll", ""},
                      {Kind::Present, "drive_c/Capture/Links/Outside", ""},
                      {Kind::Present, "drive_c/Capture/Links/canary.txt", ""},
                      {Kind::Present, "registry.db", ""},
                      {Kind::Has, "drive_c/WINDOWS/wininit.ini", "NULL=C:\\Capture\\Links\\canary.txt"}},
          .shown = kCompleted};
}

// Names that Windows refuses or that stand for devices and network shares; none of them may
// reach legit.dll, which only the refused forms name.
HostileCase RefusedNames() {
  std::string script = R"([Hostile]
DeleteFiles=HostileFiles
[HostileFiles]
\\localhost\share\canary.txt=
\\localhost\C$\Capture\Links\legit.dll=
\\?\C:\Capture\Links\legit.dll=
\\.\C:\Capture\Links\*.*=
\\?\UNC\localhost{OUTW}\*.*=
//localhost/share/*.*=
\??\C:\Capture\Links\legit.dll=
CON=
C:\Capture\NUL=
C:\Capture\nul.txt=
C:\Capture\COM1\*.*=
C:\Capture\Links\LPT9.dll=
C:\Capture\Links\a<b>*.dll=
C:\Capture\Links\legit.dll|x=
)";
  script += "C:\\Capture\\Links\\legit.dll\x01=\n";
  script += "C:\\Capture\\Links\\leg\tit.dll=\n";
  script += "C:\\Capture\\Links\\\x1b[2J.dll=\n";
  script += "C:\\Capture\\Links\\" + std::string(300, 'a') + "\\..\\legit.dll=\n";
  // Relative to C:\Capture this is 260 characters or more: refused as a whole.
  script += "Links\\" + std::string(240, 'b') + "\\..\\legit.dll=\n";
  script += "C:\\Capture\\app.exe=\n";
  // A NUL byte ends the line as the section lists it; what follows is a line of its own.
  script += std::string("C:\\Capture\\Links\\legit.dll") + '\0' + "{OUTW}\\canary.txt=\n";
  return {.id = "RefusedNames",
          .name = "files named by UNC paths, device names, control bytes, NUL bytes and long paths",
          .script = script,
          .effects = {{Kind::Gone, "drive_c/Capture/app.exe", ""},
                      {Kind::Present, "drive_c/Capture/Links/legit.dll", ""}},
          .shown = kCompleted};
}

HostileCase GroupsThatLeave() {
  return {.id = "Groups",
          .name = "program groups that are links out or climb out of the Programs folder",
          .script = R"([Hostile]
DeleteGroupEntries=HostileGroups
[HostileGroups]
Hostile=
Hostile#canar=
..\..\..\Capture\Links\Outside\group=
..\..\..\..\..\..\..\..{OUTW}\group=
{OUT}/group=
Kalvora=
)",
          .effects = {{Kind::Gone, "drive_c{OUT}/group", ""},
                      {Kind::Gone, "drive_c/WINDOWS/Start Menu/Programs/Kalvora/board.lnk", ""},
                      {Kind::Present, "drive_c/WINDOWS/Start Menu/Programs/Kalvora/host.lnk", ""},
                      {Kind::Present, "drive_c/WINDOWS/Start Menu/Programs/Hostile", ""}},
          .shown = kCompleted};
}

HostileCase IniFilesThatLeave() {
  std::string script = R"([Hostile]
DeleteIniEntries=HostileIni
[HostileIni]
C:\Capture\Links\secret.ini#x#y#=1
C:\Capture\Links\secret.ini#x##=1
C:\Capture\Links\dangling.ini#x#y#=1
C:\Capture\Links\Outside\secret.ini#x##=1
C:\Capture\Links\Outside\new.ini#x#y#=1
C:\Capture\Links\HostRoot{OUTW}\secret.ini#x##=1
C:\Capture\Links\Climb{OUTW}\secret.ini#x##=1
C:\Capture\Links\Inner\..\..\..\Capture\Links\Outside\secret.ini#x##=1
C:\Capture\Links\regdb#x##=1
C:\Capture\Links\Loop#x##=1
F:\secret.ini#x##=1
F:\new.ini#x#y#=1
E:{OUTW}\secret.ini#x##=1
\\localhost\share\secret.ini#x##=1
\\?\C:\Capture\Links\secret.ini#x##=1
CON#x##=1
{OUT}/secret.ini#x#y#=1
..\..\..\..\..\..\..\..{OUTW}\secret.ini#x#z#2=1
win.ini#Hostile##=1
)";
  script += "C:\\Capture\\Links\\new\x07.ini#x#y#=1\n";
  script += "C:\\Capture\\Links\\" + std::string(300, 'c') + ".ini#x#y#=1\n";
  return {.id = "IniFiles",
          .name = "INI files named through links, drive links, host paths and device names",
          .script = script,
          .effects = {{Kind::Lacks, "drive_c/WINDOWS/win.ini", "[Hostile]"},
                      {Kind::Lacks, "drive_c{OUT}/secret.ini", "y=1"},
                      {Kind::Lacks, "drive_c{OUT}/secret.ini", "z=2"},
                      {Kind::Has, "drive_c{OUT}/secret.ini", "[x]"},
                      {Kind::Present, "registry.db", ""}},
          .shown = kCompleted,
          .setup = [](CHostileMachine& m) {
            std::string winIni = m.Machine().Read("drive_c/WINDOWS/win.ini");
            m.Machine().Write("drive_c/WINDOWS/win.ini", winIni + "[Hostile]\r\nk=v\r\n");
          }};
}

bool KeyOpens(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Registry lines cannot name host files at all; this case also deletes a key with thousands of
// subkeys, a change large enough that the database must not spill its journal outside.
HostileCase RegistryLines() {
  return {.id = "Registry",
          .name = "registry lines that name host paths, and a large key deletion",
          .script = R"([Hostile]
DeleteRegEntries=HostileReg
[HostileReg]
HKEY_LOCAL_MACHINE#..\..\..{OUTW}##=1
HKEY_CURRENT_USER#{OUT}/canary.txt##=1
HKEY_LOCAL_MACHINE#\\?\{OUTW}#x#=1
HKEY_LOCAL_MACHINE#Software\Hostile\Big##=1
)",
          .shown = kCompleted,
          .setup = [](CHostileMachine&) {
            std::string reg = "REGEDIT4\r\n\r\n";
            for (int i = 0; i < 3000; ++i)
              reg += "[HKEY_LOCAL_MACHINE\\Software\\Hostile\\Big\\Key" + std::to_string(i) + "]\r\n\"Value\"=\"" +
                     std::string(40, 'v') + "\"\r\n";
            RegFileError error;
            ASSERT_TRUE(ImportRegText(TheMachine(), "big.reg", reg, &error).IsOk()) << error.ToString();
          },
          .verify = [](CHostileMachine&) {
            EXPECT_FALSE(KeyOpens("Software\\Hostile\\Big"));
            EXPECT_TRUE(KeyOpens("Software\\Hostile"));
          }};
}

HostileCase InfSearchesOverLinks() {
  return {.id = "InfSearches",
          .name = "INF searches over a linked Inf\\others folder and a linked oem file",
          .script = R"([Hostile]
DeleteInfFile=HostileInf
[HostileInf]
Section=Canary
Item=Id
Search_ID=CANARY
)",
          .effects = {{Kind::Gone, "drive_c/WINDOWS/INF/oem2.inf", ""},
                      {Kind::Present, "drive_c/WINDOWS/INF/others", ""},
                      {Kind::Present, "drive_c/WINDOWS/INF/oem7.inf", ""}},
          .shown = kCompleted};
}

void SetRegistryString(HKEY root, const char* path, const char* name, const std::string& text) {
  HKEY key = MakeKey(root, path);
  SetString(key, name, text);
  RegCloseKey(key);
}

constexpr const char* kPremiereKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Premiere.exe";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

HostileCase RegistryDirectoriesThatAreLinks() {
  return {.id = "DirectoriesAsLinks",
          .name = "the Premiere directory and the Programs folder are links out",
          .script = R"([Hostile]
DeleteFiles=HostileFiles
DeleteGroupEntries=HostileGroups
DeleteIniEntries=HostileIni
[HostileFiles]
$premiere$\*.*=
$premiere$\canary.txt=
$premiere$\dir\*.*=
C:\Capture\app.exe=
[HostileGroups]
group=
group#canar=
[HostileIni]
$premiere$\secret.ini#x##=1
)",
          .effects = {{Kind::Gone, "drive_c/Capture/app.exe", ""}},
          .shown = kCompleted,
          .setup = [](CHostileMachine&) {
            SetRegistryString(HKEY_LOCAL_MACHINE, kPremiereKey, "Path", "C:\\Capture\\Links\\Outside\\premiere.exe");
            SetRegistryString(HKEY_CURRENT_USER, kShellFolders, "Programs", "C:\\Capture\\Links\\Outside");
          }};
}

HostileCase RegistryDirectoriesThatAreHostPaths() {
  return {.id = "DirectoriesAsHostPaths",
          .name = "the Premiere directory and the Programs folder are host paths",
          .script = R"([Hostile]
DeleteFiles=HostileFiles
DeleteGroupEntries=HostileGroups
[HostileFiles]
$premiere$\*.*=
[HostileGroups]
group=
)",
          .effects = {{Kind::Gone, "drive_c{OUT}/canary.txt", ""}, {Kind::Gone, "drive_c{OUT}/group", ""}},
          .shown = kCompleted,
          .setup = [](CHostileMachine& m) {
            SetRegistryString(HKEY_LOCAL_MACHINE, kPremiereKey, "Path", m.Expand("{OUTW}\\premiere.exe"));
            SetRegistryString(HKEY_CURRENT_USER, kShellFolders, "Programs", m.Outside());
          }};
}

HostileCase RestartLinesThatLeave() {
  return {.id = "RestartLines",
          .name = "restart-time lines that delete or rename through links, drive links and host paths",
          .script = R"([Hostile]
DeleteFiles=HostileFiles
[HostileFiles]
C:\Capture\Links\*.*=
C:\Capture\app.exe=
)",
          .effects = {{Kind::Present, "drive_c/Capture/moved.txt", ""},
                      {Kind::Gone, "drive_c/Capture/moveme.txt", ""},
                      {Kind::Gone, "drive_c{OUT}/canary.txt", ""},
                      {Kind::Gone, "drive_c/Capture/app.exe", ""},
                      {Kind::Present, "drive_c/Capture/Links/canary.txt", ""},
                      {Kind::Present, "drive_c/WINDOWS/wininit.bak", ""},
                      {Kind::Present, "registry.db", ""}},
          .shown = kRestarted,
          .hardware = true,
          .actions = "click 1010\nkey ENTER\n",
          .wininit = R"([Rename]
NUL=C:\Capture\Links\Outside\canary.txt
NULL=F:\canary.txt
NUL=E:{OUTW}\canary.txt
NUL={OUT}/readonly.txt
NUL=C:\..\..\..\..\..\..\..\..{OUTW}\canary.txt
C:\Capture\stolen.txt=C:\Capture\Links\Outside\canary.txt
C:\Capture\stolen2.txt=F:\secret.ini
C:\Capture\stolen3.txt=C:\Capture\Links\secret.ini
C:\Capture\Links\Outside\moved.txt=C:\Capture\moveme.txt
F:\moved.txt=C:\Capture\moveme.txt
C:\Capture\Links\HostRoot{OUTW}\moved.txt=C:\Capture\moveme.txt
C:\Capture\Links\Climb{OUTW}\moved.txt=C:\Capture\moveme.txt
C:\Capture\Links\dangling.ini=C:\Capture\moveme.txt
NUL=C:\Capture\Links\regdb
NUL=\\localhost\share\canary.txt
NUL=C:\Capture\Links\Outside
C:\Capture\moved.txt=C:\Capture\moveme.txt
)"};
}

// Files that cannot be read would read as empty, and the packages would be struck with nothing
// removed: start-up refuses them.
HostileCase OwnFilesThatAreLinks() {
  return {.id = "OwnFilesLinked",
          .name = "the uninstaller's own script and state files are links out",
          .script = "",
          .refused = "cannot read",
          .actions = "answer IDOK\n",
          .folder = "Linked"};
}

HostileCase MachineFilesThatAreLinks() {
  return {.id = "MachineFilesLinked",
          .name = "wininit.ini and the shutdown record are links out",
          .script = R"([Hostile]
DeleteFiles=HostileFiles
[HostileFiles]
C:\Capture\Links\canary.txt=
C:\Capture\app.exe=
)",
          .effects = {{Kind::Gone, "drive_c/Capture/app.exe", ""},
                      {Kind::Present, "drive_c/WINDOWS/wininit.ini", ""},
                      {Kind::Present, "exitwindows.log", ""}},
          .shown = kRestarted,
          .hardware = true,
          .actions = "click 1010\nkey ENTER\n",
          .setup = [](CHostileMachine& m) {
            m.Link(m.Outside() + "/wininit.ini", "drive_c/WINDOWS/wininit.ini");
            m.Link(m.Outside() + "/exitwindows.log", "exitwindows.log");
          }};
}

// Command lines that put the uninstaller's own folder out of the machine: on a drive that is a
// link out, behind a link, on a network share; and one whose dots fold back inside.
HostileCase CommandLineOnALinkedDrive() {
  return {.id = "CommandLineDriveLink",
          .name = "a command line on a drive whose folder is a link to the canaries",
          .shown = "deleted completely",
          .actions = "answer IDOK\n",
          .commandLine = R"("F:\program\uninst.exe")"};
}

HostileCase CommandLineBehindALink() {
  return {.id = "CommandLineThroughLink",
          .name = "a command line through a link out of the machine",
          .refused = "cannot read",
          .commandLine = R"("C:\Capture\Links\Outside\program\uninst.exe")"};
}

HostileCase CommandLineOnAShare() {
  return {.id = "CommandLineUnc",
          .name = "a command line on a network share",
          .refused = "cannot read",
          .commandLine = R"("\\localhost\share\program\uninst.exe")"};
}

HostileCase CommandLineThatFolds() {
  return {.id = "CommandLineFolds",
          .name = "a command line whose dots climb to the host path of the canaries",
          .effects = {{Kind::Gone, "drive_c/Capture/app.exe", ""},
                      {Kind::Lacks, "drive_c{OUT}/program/uninstin.ini", "Hostile="}},
          .shown = kCompleted,
          .commandLine = R"("C:\..\..\..\..\..\..{OUTW}\program\uninst.exe")"};
}

}  // namespace

std::vector<HostileCase> HostileCases() {
  return {DotChainsAndSeparators(),
          DriveFoldersThatAreLinks(),
          LinksInsideTheMachine(),
          RefusedNames(),
          GroupsThatLeave(),
          IniFilesThatLeave(),
          RegistryLines(),
          InfSearchesOverLinks(),
          RegistryDirectoriesThatAreLinks(),
          RegistryDirectoriesThatAreHostPaths(),
          RestartLinesThatLeave(),
          OwnFilesThatAreLinks(),
          MachineFilesThatAreLinks(),
          CommandLineOnALinkedDrive(),
          CommandLineBehindALink(),
          CommandLineOnAShare(),
          CommandLineThatFolds()};
}

void ExpectInsideEffects(const HostileCase& c, const CHostileMachine& machine) {
  for (const InsideEffect& effect : c.effects) {
    std::string path = machine.Expand(effect.path);
    const CTestMachine& m = machine.Machine();
    switch (effect.kind) {
      case Kind::Gone:
        EXPECT_FALSE(m.Exists(path)) << c.name << ": " << path << " should be gone";
        break;
      case Kind::Present:
        EXPECT_TRUE(m.Exists(path)) << c.name << ": " << path << " should stay";
        break;
      case Kind::Has:
        EXPECT_NE(m.Read(path).find(effect.text), std::string::npos) << c.name << ": " << path << " lacks "
                                                                     << effect.text << "\n" << m.Read(path);
        break;
      case Kind::Lacks:
        EXPECT_EQ(m.Read(path).find(effect.text), std::string::npos) << c.name << ": " << path << " holds "
                                                                     << effect.text << "\n" << m.Read(path);
        break;
    }
  }
}
