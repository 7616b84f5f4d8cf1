// The .reg importer on any text, into a machine's registry that holds a few keys: the import
// succeeds, or it fails with a message and the registry is as it was. After a success, the
// registry's export imports into an emptied registry and exports to the same text again.
//
// Input: the bytes of a .reg file.
#include <string>
#include <string_view>

#include "platform/RegFile.h"
#include "platform/RegTransaction.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/TestMachine.h"

namespace {

// What every execution starts from: keys and values that the input can delete or change.
constexpr std::string_view kBaseline =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Kalvora]\r\n"
    "@=\"default\"\r\n"
    "\"Path\"=\"C:\\\\Capture\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Kalvora\\TK7]\r\n"
    "\"Count\"=dword:00000002\r\n"
    "\"Data\"=hex:01,02,03\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\International]\r\n"
    "\"Locale\"=\"00000409\"\r\n";

CTestMachine& Machine() {
  static CTestMachine machine;
  return machine;
}

std::string Export() {
  std::string text;
  Status exported = ExportRegistry(Machine().Machine(), "", &text);
  FUZZ_CHECK(exported.IsOk(), "the registry does not export: " + exported.ToString());
  return text;
}

// Deletes every key and value below the six roots, in one transaction.
void EmptyRegistry() {
  IMachine& machine = Machine().Machine();
  CRegTransaction transaction(machine);
  FUZZ_CHECK(transaction.Begin().IsOk(), "no transaction");
  for (const RegRoot& root : kRegRoots) {
    std::string name;
    while (machine.RegEnumKey(root.id, 0, &name).IsOk())
      FUZZ_CHECK(machine.RegDeleteKey(root.id, name).IsOk(), "cannot delete key " + name);
    RegValue value;
    while (machine.RegEnumValue(root.id, 0, &name, &value).IsOk())
      FUZZ_CHECK(machine.RegDeleteValue(root.id, name).IsOk(), "cannot delete value " + name);
  }
  FUZZ_CHECK(transaction.Commit().IsOk(), "cannot commit");
}

void Import(std::string_view text) {
  RegFileError error;
  Status imported = ImportRegText(Machine().Machine(), "text.reg", text, &error);
  FUZZ_CHECK(imported.IsOk(), "an exported registry does not import: " + error.ToString() + "\n" + std::string(text));
}

const std::string& BaselineExport() {
  static const std::string text = [] {
    EmptyRegistry();
    Import(kBaseline);
    return Export();
  }();
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  PreferMemoryTempDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& baseline = BaselineExport();
  RegFileError error;
  Status imported = ImportRegText(Machine().Machine(), "fuzz.reg", AsText(data, size), &error);
  if (!imported.IsOk()) {
    FUZZ_CHECK(!error.text.empty(), "a failed import gives no reason");
    const std::string after = Export();
    FUZZ_CHECK(after == baseline, "a failed import (" + error.ToString() + ") changed the registry:\n" + after);
    return 0;
  }
  const std::string exported = Export();
  EmptyRegistry();
  Import(exported);
  const std::string again = Export();
  FUZZ_CHECK(again == exported, "export, import, export differs:\n" + exported + "\nthen\n" + again);
  EmptyRegistry();
  Import(kBaseline);
  return 0;
}
