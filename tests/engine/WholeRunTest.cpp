// A whole run over an installed package: the machine's files, registry and profile files after
// the run differ from before by exactly what the script names.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/HostMachine.h"
#include "platform/RegFile.h"
#include "tests/engine/EngineFixture.h"

namespace {

namespace fs = std::filesystem;

const char* const kRegistry = R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Programs"="C:\\WINDOWS\\Start Menu\\Programs"

[HKEY_CURRENT_USER\Software\Kalvora\Settings]
"Last"="C:\\Capture\\clip.avi"
"Window"="maximized"

[HKEY_LOCAL_MACHINE\Software\Kalvora\TK7\Codecs]
"TK7"="tk7.dll"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run]
"Capture"="C:\\Capture\\tray.exe"
"Antivirus"="C:\\AV\\av.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora TK7/TK5]
"DisplayName"="Kalvora TK7/TK5"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Other]
"DisplayName"="Other"

)";

const char* const kDeletions = R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Kalvora\Settings]
"Last"=-

[-HKEY_LOCAL_MACHINE\Software\Kalvora]

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run]
"Capture"=-

[-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora TK7/TK5]

)";

const char* const kScriptText =
    "[English]\r\nUninstallation title=Kalvora\r\n"
    "[Capture Software]\r\nDeleteFiles=CaptureFiles\r\nDeleteGroupEntries=CaptureGroups\r\n"
    "DeleteIniEntries=CaptureIni\r\nDeleteRegEntries=CaptureReg\r\n"
    "[CaptureFiles]\r\nC:\\Capture\\capture.exe=\r\nC:\\Capture\\help\\*.hlp=\r\n"
    "[CaptureGroups]\r\nKalvora=\r\nAccessories#Kalvora Tools=\r\n"
    "[CaptureIni]\r\nwin.ini#Kalvora##=\r\n"
    "[CaptureReg]\r\nHKEY_CURRENT_USER#Software\\Kalvora\\Settings#Last#=\r\n"
    "HKEY_LOCAL_MACHINE#Software\\Microsoft\\Windows\\CurrentVersion\\Run#Capture#c:\\capture\\TRAY.EXE=\r\n"
    "[Driver]\r\nDeleteFiles=DriverFiles\r\nDeleteIniEntries=DriverIni\r\nDeleteRegEntries=DriverReg\r\n"
    "DeleteInfFile=DriverInf\r\n"
    "[DriverFiles]\r\n$system$\\tk7cap.drv=\r\n"
    "[DriverIni]\r\n$windows$\\system.ini#drivers#VIDC.TK7#TK7CAP.DRV=\r\n"
    "[DriverReg]\r\nHKEY_LOCAL_MACHINE#Software\\Kalvora##=\r\n"
    "[DriverInf]\r\nSearch_ID=TK7\r\n";

const char* const kSystemIni = "[boot]\r\nshell=Explorer.exe\r\n[drivers]\r\nVIDC.TK7=tk7cap.drv\r\nwave=mmsound.drv\r\n";
const char* const kWinIni = "[windows]\r\nload=\r\n[Kalvora]\r\nBoard=TK7\r\n[Other]\r\nx=1\r\n";

// Every file of drive C with its bytes, and every folder with a closing slash.
std::map<std::string, std::string> Snapshot(const std::string& drive) {
  std::map<std::string, std::string> items;
  for (const auto& entry : fs::recursive_directory_iterator(drive)) {
    std::string relative = fs::relative(entry.path(), drive).string();
    if (entry.is_directory()) {
      items[relative + "/"] = "";
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    items[relative] = bytes.str();
  }
  return items;
}

class WholeRunTest : public EngineTest {};

TEST_F(WholeRunTest, RemovesExactlyWhatTheScriptNames) {
  ImportReg(kRegistry);
  WriteScript(kScriptText);
  SetPackages({{"Capture Software"}, {"Driver"}});
  for (const char* file : {"C:\\Capture\\capture.exe", "C:\\Capture\\readme.txt", "C:\\Capture\\help\\capture.hlp",
                           "C:\\Capture\\help\\board.hlp", "C:\\Capture\\help\\index.htm", "C:\\WINDOWS\\SYSTEM\\tk7cap.drv",
                           "C:\\WINDOWS\\SYSTEM\\other.drv", "C:\\WINDOWS\\Start Menu\\Programs\\Kalvora\\Capture.lnk",
                           "C:\\WINDOWS\\Start Menu\\Programs\\Kalvora\\Help.lnk",
                           "C:\\WINDOWS\\Start Menu\\Programs\\Accessories\\Kalvora Tools.lnk",
                           "C:\\WINDOWS\\Start Menu\\Programs\\Accessories\\Calculator.lnk"})
    WriteFile(file, std::string("bytes of ") + file);
  WriteFile("C:\\WINDOWS\\INF\\oem0.inf", "[tolvekSection]\r\n%DevDesc%=Kalvora TK7 Capture\r\n");
  WriteFile("C:\\WINDOWS\\INF\\oem1.inf", "[tolvekSection]\r\n%DevDesc%=Some modem\r\n");
  WriteFile("C:\\WINDOWS\\INF\\others\\tk7.inf", "[tolvekSection]\r\n%DevDesc%=tk7 board\r\n");
  WriteFile("C:\\WINDOWS\\system.ini", kSystemIni);
  WriteFile("C:\\WINDOWS\\win.ini", kWinIni);
  const std::string drive = m_machine.Host("drive_c");
  std::map<std::string, std::string> expected = Snapshot(drive);

  Run();

  for (const char* gone : {"Capture/capture.exe", "Capture/help/capture.hlp", "Capture/help/board.hlp",
                           "WINDOWS/SYSTEM/tk7cap.drv", "WINDOWS/Start Menu/Programs/Kalvora/Capture.lnk",
                           "WINDOWS/Start Menu/Programs/Kalvora/Help.lnk", "WINDOWS/Start Menu/Programs/Kalvora/",
                           "WINDOWS/Start Menu/Programs/Accessories/Kalvora Tools.lnk", "WINDOWS/INF/oem0.inf",
                           "WINDOWS/INF/others/tk7.inf"})
    ASSERT_EQ(expected.erase(gone), 1u) << gone;
  expected["WINDOWS/system.ini"] = "[boot]\r\nshell=Explorer.exe\r\n[drivers]\r\nwave=mmsound.drv\r\n";
  expected["WINDOWS/win.ini"] = "[windows]\r\nload=\r\n[Other]\r\nx=1\r\n";
  expected["Capture/uninstin.ini"] = "[Packages]\r\n";
  expected["WINDOWS/wininit.ini"] =
      "[Rename]\r\nNULL=C:\\Capture\\uninst.exe\r\nNULL=C:\\Capture\\uninst.ini\r\nNULL=C:\\Capture\\uninstin.ini\r\n";
  EXPECT_EQ(Snapshot(drive), expected);

  CTempDir dir;
  CHostMachine reference(dir.Path());
  RegFileError error;
  ASSERT_TRUE(ImportRegText(reference, "registry", kRegistry, &error).IsOk()) << error.ToString();
  ASSERT_TRUE(ImportRegText(reference, "deletions", kDeletions, &error).IsOk()) << error.ToString();
  std::string expectedRegistry;
  ASSERT_TRUE(ExportRegistry(reference, "", &expectedRegistry).IsOk());
  EXPECT_EQ(ExportReg(), expectedRegistry);
}

}  // namespace
