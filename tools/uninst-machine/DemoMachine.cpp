// What the package's installer leaves on a PC: files, shortcuts, INI entries, INF files,
// registry entries and the board's device registration.
#include "tools/uninst-machine/DemoMachine.h"

#include <string>

#include "platform/HostMachine.h"
#include "platform/MachineSetup.h"
#include "platform/Profile.h"
#include "platform/RegFile.h"
#include "tools/uninst-machine/DemoScript.h"

namespace {

constexpr const char* kFolders[] = {
    "C:\\Capture",
    "C:\\Program Files\\Kalvora",
    "C:\\Program Files\\Kalvora\\Driver",
    "C:\\Program Files\\Kalvora\\Player",
    "C:\\Program Files\\Kalvora\\Editor",
    "C:\\Program Files\\Kalvora\\Samples",
    "C:\\Win32App",
    "C:\\Win32App\\Premiere",
    "C:\\Win32App\\Premiere\\Plug-ins",
    "C:\\WINDOWS\\INF\\others",
    "C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7",
};

struct DemoFile {
  const char* path;
  size_t size;  // bytes of made-up content
};

// Files of the package, with sizes that give the progress bar something to show.
constexpr DemoFile kFiles[] = {
    {"C:\\Capture\\uninst.exe", 48640},
    {"C:\\WINDOWS\\SYSTEM\\tk7cap.drv", 36864},
    {"C:\\WINDOWS\\SYSTEM\\tk7cap.vxd", 22528},
    {"C:\\WINDOWS\\tk7cap.hlp", 61440},
    {"C:\\WINDOWS\\tkplay.ini", 412},
    {"C:\\Program Files\\Kalvora\\Driver\\tk7setup.exe", 118784},
    {"C:\\Program Files\\Kalvora\\Driver\\tk7diag.exe", 73728},
    {"C:\\Program Files\\Kalvora\\Driver\\readme.txt", 5120},
    {"C:\\Program Files\\Kalvora\\Player\\tkplay.exe", 262144},
    {"C:\\Program Files\\Kalvora\\Player\\tkplay.dll", 98304},
    {"C:\\Program Files\\Kalvora\\Player\\codec.dll", 131072},
    {"C:\\Program Files\\Kalvora\\Editor\\tkedit.exe", 196608},
    {"C:\\Program Files\\Kalvora\\Samples\\intro.tkv", 524288},
    {"C:\\Program Files\\Kalvora\\Samples\\demo.tkv", 786432},
    {"C:\\Win32App\\Premiere\\Plug-ins\\tk7imp.prm", 40960},
    {"C:\\Win32App\\Premiere\\Plug-ins\\other.prm", 20480},
    {"C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7\\Board Setup.lnk", 312},
    {"C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7\\Board Test.lnk", 308},
    {"C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7\\Capture Player.lnk", 320},
    {"C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7\\Capture Help.lnk", 316},
    {"C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7\\Video Editor.lnk", 318},
    {"C:\\WINDOWS\\Start Menu\\Programs\\Kalvora TK7\\Sample Clips.lnk", 314},
};

struct DemoText {
  const char* path;
  const char* text;
};

const DemoText kTexts[] = {
    {"C:\\Capture\\uninst.ini", kDemoScriptFile},
    {"C:\\Capture\\uninstin.ini", kDemoStateFile},
    {"C:\\WINDOWS\\INF\\others\\tk7cap.inf", kDemoBoardInf},
    {"C:\\WINDOWS\\INF\\others\\bt848.inf", kDemoOtherInf},
    {"C:\\WINDOWS\\INF\\oem3.inf", kDemoBoardInf},
    {"C:\\WINDOWS\\INF\\oem4.inf", kDemoOtherInf},
};

struct DemoIniEntry {
  const char* file;
  const char* section;
  const char* key;
  const char* value;
};

constexpr DemoIniEntry kIniEntries[] = {
    {"system.ini", "drivers", "VIDC.TK7C", "tk7cap.drv"},
    {"system.ini", "Kalvora TK7", "Board", "TK7"},
    {"system.ini", "Kalvora TK7", "Port", "0x300"},
    {"win.ini", "Extensions", "tkv", "tkplay.exe ^.tkv"},
    {"win.ini", "Extensions", "txt", "notepad.exe ^.txt"},
    {"win.ini", "Kalvora Player", "Window", "40,40,640,480"},
};

std::string Content(const char* path, size_t size) {
  std::string text = std::string("Kalvora TK7/TK5 demo file ") + path + "\r\n";
  std::string bytes;
  bytes.reserve(size);
  while (bytes.size() < size) bytes += text;
  bytes.resize(size);
  return bytes;
}

Status WriteEntries() {
  for (const DemoIniEntry& entry : kIniEntries)
    if (!WritePrivateProfileStringA(entry.section, entry.key, entry.value, entry.file))
      return Status::Error(GetLastError(), entry.file);
  return Status::Ok();
}

}  // namespace

Status MakeDemoMachine(const std::string& root) {
  RETURN_IF_ERROR(InitMachine(root));
  CHostMachine machine(root);
  for (const char* folder : kFolders) {
    Status made = machine.CreateDirectory(folder);
    if (!made.IsOk() && made.Code() != ERROR_ALREADY_EXISTS) return made;
  }
  for (const DemoFile& file : kFiles) RETURN_IF_ERROR(machine.WriteFileAtomic(file.path, Content(file.path, file.size)));
  for (const DemoText& text : kTexts) RETURN_IF_ERROR(machine.WriteFileAtomic(text.path, text.text));
  InstallMachine(&machine);
  Status entries = WriteEntries();
  InstallMachine(nullptr);
  RETURN_IF_ERROR(entries);
  RegFileError error;
  Status imported = ImportRegText(machine, "demo registry", kDemoRegistry, &error);
  if (!imported.IsOk()) return Status::Error(imported.Code(), error.ToString());
  return machine.RegSync();
}
