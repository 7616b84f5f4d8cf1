// The cost of a whole engine run over a large package (10,000 files, 2,000 INF files, 5,000
// profile lines, 5,000 registry lines) against deleting the same files with rm in the same run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/UninstallRecord.h"
#include "dialogs/ProgressDlg.h"
#include "platform/Dialog.h"
#include "platform/RegFile.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "resources/ProgramResources.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;  // 10,000 files
constexpr int kInfFiles = 1000;       // in each of Inf and Inf\others: 2,000
constexpr int kIniLines = 5000;
constexpr int kRegLines = 5000;

// The package's files as one DeleteFiles line per folder ("*.*") or one per file.
enum class FileLines { PerFolder, PerFile };

struct Package {
  std::unique_ptr<CTestMachine> machine;
  std::vector<std::string> hostFiles;  // every file the run deletes
};

std::string Number(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%05d", i);
  return text;
}

void AddFiles(Package& package, FileLines form, std::string& section) {
  for (int d = 0; d < kFolders; ++d) {
    std::string folder = "Big\\Folder" + Number(d);
    if (form == FileLines::PerFolder) section += "C:\\" + folder + "\\*.*=\r\n";
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::string name = "module" + Number(f) + ".dll";
      std::string relative = "drive_c/Big/Folder" + Number(d) + "/" + name;
      package.machine->Write(relative, "MZ file of the package");
      package.hostFiles.push_back(package.machine->Host(relative));
      if (form == FileLines::PerFile) section += "C:\\" + folder + "\\" + name + "=\r\n";
    }
  }
}

void AddInfs(Package& package) {
  for (int i = 0; i < kInfFiles; ++i) {
    for (std::string relative : {"drive_c/WINDOWS/INF/oem" + std::to_string(i) + ".inf",
                                 "drive_c/WINDOWS/INF/others/board" + Number(i) + ".inf"}) {
      package.machine->Write(relative, "[Version]\r\nSignature=$CHICAGO$\r\n[tolvekSection]\r\n%DevDesc%=Kalvora TK7\r\n");
      package.hostFiles.push_back(package.machine->Host(relative));
    }
  }
}

// Ten profile files of 500 keys each; every line removes one key, half of them on condition.
std::string AddIni(Package& package) {
  std::string section;
  for (int file = 0; file < 10; ++file) {
    std::string text = "[Settings]\r\n";
    for (int k = 0; k < kIniLines / 10; ++k) {
      text += "Key" + Number(k) + "=value" + Number(k) + "\r\n";
      section += "$windows$\\big" + std::to_string(file) + ".ini#Settings#Key" + Number(k) + "#" +
                 (k % 2 ? "VALUE" + Number(k) : "") + "=\r\n";
    }
    package.machine->Write("drive_c/WINDOWS/big" + std::to_string(file) + ".ini", text);
  }
  return section;
}

// Half the lines delete a key, half a value on condition.
std::string AddRegistry(Package& package) {
  std::string reg = "REGEDIT4\r\n\r\n";
  std::string section;
  for (int i = 0; i < kRegLines / 2; ++i) {
    reg += "[HKEY_LOCAL_MACHINE\\Software\\Big\\Key" + Number(i) + "]\r\n\"Path\"=\"x\"\r\n\r\n";
    section += "HKEY_LOCAL_MACHINE#Software\\Big\\Key" + Number(i) + "##=\r\n";
  }
  reg += "[HKEY_CURRENT_USER\\Software\\Big]\r\n";
  for (int i = 0; i < kRegLines / 2; ++i) {
    reg += "\"Value" + Number(i) + "\"=\"on\"\r\n";
    section += "HKEY_CURRENT_USER#Software\\Big#Value" + Number(i) + "#ON=\r\n";
  }
  RegFileError error;
  if (!ImportRegText(package.machine->Machine(), "bench", reg, &error).IsOk()) std::abort();
  return section;
}

Package MakePackage(FileLines form) {
  Package package;
  package.machine = std::make_unique<CTestMachine>();
  std::string files;
  AddFiles(package, form, files);
  AddInfs(package);
  std::string ini = AddIni(package);
  std::string reg = AddRegistry(package);
  package.machine->Write("drive_c/Capture/uninst.ini",
                         "[Big]\r\nDeleteFiles=Files\r\nDeleteIniEntries=Ini\r\nDeleteRegEntries=Reg\r\n"
                         "DeleteInfFile=Inf\r\n[Inf]\r\nSearch_ID=TK7\r\n[Files]\r\n" + files + "[Ini]\r\n" + ini +
                         "[Reg]\r\n" + reg);
  package.machine->Write("drive_c/Capture/uninstin.ini", "[Packages]\r\nBig=1\r\n");
  return package;
}

class CBenchMainDlg : public CDialog, public CUninstallRecord {
 public:
  CBenchMainDlg() : CDialog(IDD_UNINST_DIALOG) {
    m_szExeDir = "C:\\Capture";
    m_szExePath = "C:\\Capture\\uninst.exe";
    m_szScriptPath = "C:\\Capture\\uninst.ini";
    m_szStatePath = "C:\\Capture\\uninstin.ini";
    m_szLanguage = "English";
    m_strPackage[0] = "Big";
    m_bPackageSelected[0] = 1;
  }
};

class CBenchApp : public CWinApp {
 public:
  CBenchApp() : CWinApp("engine bench") {}
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor seconds (user and system) used so far by this process or by its ended children:
// unlike the wall clock, they hardly change with what else the machine is doing.
double CpuSeconds(int who) {
  rusage usage{};
  ::getrusage(who, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
  double wall = 0;
  double cpu = 0;
};

// One engine run, from the progress dialog's creation to its destruction.
Timing TimeEngineRun(FileLines form) {
  Package package = MakePackage(form);
  CBenchApp app;
  CBenchMainDlg main;
  app.m_pMainWnd = &main;
  main.Create();
  auto start = std::chrono::steady_clock::now();
  double cpuStart = CpuSeconds(RUSAGE_SELF);
  {
    CProgressDlg dialog;
    dialog.Create();
    dialog.RunUninstall();
    dialog.DestroyWindow();
  }
  Timing timing{Seconds(start), CpuSeconds(RUSAGE_SELF) - cpuStart};
  for (const std::string& file : package.hostFiles)
    if (std::ifstream(file)) std::abort();  // the run must have deleted every file
  main.DestroyWindow();
  return timing;
}

// What rm takes to delete the files of the same package, named one by one.
Timing TimeRm() {
  Package package = MakePackage(FileLines::PerFolder);
  std::string list = package.machine->Root() + "/rm-list";
  {
    std::ofstream out(list, std::ios::binary);
    for (const std::string& file : package.hostFiles) out << file << '\0';
  }
  auto start = std::chrono::steady_clock::now();
  double cpuStart = CpuSeconds(RUSAGE_CHILDREN);
  if (RunCommand("xargs -0 rm -f -- < '" + list + "'") != 0) std::abort();
  return {Seconds(start), CpuSeconds(RUSAGE_CHILDREN) - cpuStart};
}

void BM_EngineRunAgainstRm(benchmark::State& state) {
  AfxSetResourceHandle(ProgramResources());
  FileLines form = static_cast<FileLines>(state.range(0));
  Timing engineTotal;
  Timing rmTotal;
  for (auto _ : state) {
    Timing engine = TimeEngineRun(form);
    Timing rm = TimeRm();
    state.SetIterationTime(engine.wall);
    engineTotal.wall += engine.wall;
    engineTotal.cpu += engine.cpu;
    rmTotal.wall += rm.wall;
    rmTotal.cpu += rm.cpu;
  }
  double n = static_cast<double>(state.iterations());
  state.counters["rm_ms"] = rmTotal.wall / n * 1000;
  state.counters["engine_ms"] = engineTotal.wall / n * 1000;
  state.counters["engine_per_rm"] = engineTotal.wall / rmTotal.wall;
  // The same ratio in processor time (rm's includes starting xargs and rm).
  state.counters["cpu_per_rm"] = engineTotal.cpu / rmTotal.cpu;
  state.SetLabel(form == FileLines::PerFolder ? "a *.* line per folder" : "a line per file");
}
BENCHMARK(BM_EngineRunAgainstRm)
    ->Arg(static_cast<int>(FileLines::PerFolder))
    ->Arg(static_cast<int>(FileLines::PerFile))
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
