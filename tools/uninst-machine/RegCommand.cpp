// uninst-machine reg: import .reg files into a machine's registry, export it, query a key.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/RegFile.h"
#include "platform/RegKeyPath.h"
#include "platform/Registry.h"
#include "tools/uninst-machine/Commands.h"
#include "tools/uninst-machine/MachineSession.h"

namespace {

struct RegArgs {
  std::string machine;
  std::vector<std::string> files;
  std::string key;
  std::string value;
};

void Fail(const char* command, const std::string& why) {
  std::fprintf(stderr, "uninst-machine reg %s: %s\n", command, why.c_str());
  SetExitStatus(1);
}

// "HKEY_LOCAL_MACHINE\X: not found", or the failure with its details.
std::string Why(const std::string& what, const Status& status) {
  return what + ": " + (status.Code() == ERROR_FILE_NOT_FOUND ? std::string("not found") : status.ToString());
}

void RunImport(const RegArgs& a) {
  CMachineSession session(a.machine, "reg import", MachineUse::Change);
  if (!session.IsOpen()) return;
  RegFileError error;
  if (!ImportRegFiles(session.Machine(), a.files, &error))
    return Fail("import", error.ToString() + " (nothing was imported)");
  if (Status synced = session.Machine().RegSync(); !synced) return Fail("import", synced.ToString());
}

void RunExport(const RegArgs& a) {
  CMachineSession session(a.machine, "reg export");
  if (!session.IsOpen()) return;
  std::string text;
  if (Status status = ExportRegistry(session.Machine(), a.key, &text); !status)
    return Fail("export", Why(a.key, status));
  std::fwrite(text.data(), 1, text.size(), stdout);
}

const char* TypeName(DWORD type) {
  static const char* const kNames[] = {"REG_NONE",
                                       "REG_SZ",
                                       "REG_EXPAND_SZ",
                                       "REG_BINARY",
                                       "REG_DWORD",
                                       "REG_DWORD_BIG_ENDIAN",
                                       "REG_LINK",
                                       "REG_MULTI_SZ",
                                       "REG_RESOURCE_LIST",
                                       "REG_FULL_RESOURCE_DESCRIPTOR",
                                       "REG_RESOURCE_REQUIREMENTS_LIST",
                                       "REG_QWORD"};
  return type < std::size(kNames) ? kNames[type] : "REG_UNKNOWN";
}

std::uint64_t LittleEndian(std::string_view bytes) {
  std::uint64_t number = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) number = number << 8 | static_cast<unsigned char>(bytes[i]);
  return number;
}

// The data as reg.exe shows it: strings up to their NUL, the strings of a REG_MULTI_SZ joined
// by "\0", numbers in hexadecimal, anything else as hexadecimal bytes.
std::string DataText(const RegValue& value) {
  const std::string& data = value.data;
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) return data.substr(0, data.find('\0'));
  if (value.type == REG_MULTI_SZ) {
    std::string text;
    for (std::size_t start = 0; start < data.size() && data[start] != '\0';) {
      std::size_t end = std::min(data.find('\0', start), data.size());
      text += (start ? "\\0" : "") + data.substr(start, end - start);
      start = end + 1;
    }
    return text;
  }
  char number[24];
  if ((value.type == REG_DWORD && data.size() == 4) || (value.type == REG_QWORD && data.size() == 8)) {
    std::snprintf(number, sizeof number, "0x%llx", static_cast<unsigned long long>(LittleEndian(data)));
    return number;
  }
  std::string text;
  for (unsigned char byte : data) {
    std::snprintf(number, sizeof number, "%02X", byte);
    text += number;
  }
  return text;
}

void PrintValue(const std::string& name, const RegValue& value) {
  std::printf("    %s    %s    %s\n", name.empty() ? "(Default)" : name.c_str(), TypeName(value.type),
              DataText(value).c_str());
}

void RunQuery(const RegArgs& a) {
  CMachineSession session(a.machine, "reg query");
  if (!session.IsOpen()) return;
  IMachine& machine = session.Machine();
  const RegRoot* root = nullptr;
  std::string_view below;
  if (!SplitRootedKeyPath(a.key, &root, &below)) return Fail("query", "unknown root key in " + a.key);
  while (below.ends_with('\\')) below.remove_suffix(1);
  RegKeyId key = root->id;
  if (Status opened = machine.RegOpenKey(root->id, below, &key); !opened)
    return Fail("query", Why(a.key, opened));
  const std::string path = std::string(root->name) + (below.empty() ? "" : "\\" + std::string(below));
  RegValue value;
  std::string name;
  if (!a.value.empty()) {
    name = a.value == "@" ? std::string() : a.value;
    if (Status read = machine.RegQueryValue(key, name, &value); !read)
      return Fail("query", Why(path + " value " + a.value, read));
    std::printf("%s\n", path.c_str());
    PrintValue(name, value);
    return;
  }
  std::printf("%s\n", path.c_str());
  for (DWORD i = 0; machine.RegEnumValue(key, i, &name, &value).IsOk(); ++i) PrintValue(name, value);
  std::printf("\n");
  for (DWORD i = 0; machine.RegEnumKey(key, i, &name).IsOk(); ++i)
    std::printf("%s\\%s\n", path.c_str(), name.c_str());
}

CLI::App* AddMachine(CLI::App& reg, const char* name, const char* help, RegArgs& args) {
  CLI::App* command = reg.add_subcommand(name, help);
  command->add_option("MACHINE", args.machine, "the machine's directory")->required();
  return command;
}

}  // namespace

void AddRegCommand(CLI::App& app) {
  auto args = std::make_shared<RegArgs>();
  CLI::App* reg =
      app.add_subcommand("reg", "Import, export and query the machine's registry (.reg text format)");
  reg->require_subcommand(1);
  CLI::App* import =
      AddMachine(*reg, "import",
                 "Import .reg files (REGEDIT4 or version 5.00), all in one transaction: a malformed "
                 "line is reported with its file and line, and nothing changes",
                 *args);
  import->add_option("FILE", args->files, "the .reg files, imported in this order")->required();
  import->callback([args] { RunImport(*args);
});
CLI::App* exportCommand = AddMachine(
    *reg, "export", "Write the registry, or KEY and its subkeys, as REGEDIT4 text on standard output", *args);
exportCommand->add_option("KEY", args->key,
                          "a key as a .reg file writes it: HKEY_LOCAL_MACHINE\\Software\\X");
exportCommand->callback([args] { RunExport(*args); });
CLI::App* query = AddMachine(*reg, "query", "Show the values and subkeys of KEY, or its value VALUE", *args);
query->add_option("KEY", args->key, "a key as a .reg file writes it: HKEY_CURRENT_USER\\Control Panel")
    ->required();
query->add_option("VALUE", args->value, "the value's name; @ for the default value");
query->callback([args] { RunQuery(*args); });
}
