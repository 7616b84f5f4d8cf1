// A .reg file of 1,000,000 keys through `uninst-machine reg import`: imported whole, in one
// transaction, within a multiple of its size in memory; the same file with one malformed line
// at its end imports nothing and says where.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/bigdata/MeasuredRun.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr int kKeys = 1000000;

std::string KeyName(int i) { return "HKEY_LOCAL_MACHINE\\SOFTWARE\\Big\\Key" + std::to_string(1000000 + i); }

// Writes the file and returns its size.
std::uint64_t WriteRegFile(const std::string& path, const std::string& tail) {
  std::ofstream reg(path, std::ios::binary);
  reg << "REGEDIT4\r\n\r\n";
  for (int i = 0; i < kKeys; ++i) reg << "[" << KeyName(i) << "]\r\n\"Value\"=\"v" << i << "\"\r\n\r\n";
  reg << tail;
  return static_cast<std::uint64_t>(reg.tellp());
}

std::string Query(const std::string& machine, const std::string& key) {
  std::string output;
  RunMachineToolMeasured({"reg", "query", machine, key, "Value"}, &output);
  return output;
}

TEST(RegImport, AMillionKeys) {
  CTempDir dir;
  const std::string machine = dir.Path() + "/pc";
  ASSERT_EQ(RunMachineToolMeasured({"init", machine}).status, 0);
  const std::string file = dir.Path() + "/big.reg";
  const std::uint64_t size = WriteRegFile(file, "");
  std::string output;
  ChildResult run = RunMachineToolMeasured({"reg", "import", machine, file}, &output);
  ASSERT_EQ(run.status, 0) << output;
  for (int i : {0, kKeys / 2, kKeys - 1})
    EXPECT_NE(Query(machine, KeyName(i)).find("v" + std::to_string(i)), std::string::npos) << KeyName(i);
  ReportFigures("reg import of 1,000,000 keys", size, run);
  ExpectPeakWithin(run, size, 10);
}

TEST(RegImport, AMillionKeysAndOneMalformedLineImportNothing) {
  CTempDir dir;
  const std::string machine = dir.Path() + "/pc";
  ASSERT_EQ(RunMachineToolMeasured({"init", machine}).status, 0);
  const std::string file = dir.Path() + "/big.reg";
  const std::uint64_t size = WriteRegFile(file, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Big\\Last\r\n");
  std::string output;
  ChildResult run = RunMachineToolMeasured({"reg", "import", machine, file}, &output);
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.signal, 0);
  EXPECT_NE(output.find("big.reg:" + std::to_string(3 * kKeys + 3)), std::string::npos) << output;
  EXPECT_NE(output.find("nothing was imported"), std::string::npos) << output;
  EXPECT_EQ(Query(machine, KeyName(0)).find("v0"), std::string::npos) << "a key of the file was imported";
  ReportFigures("reg import of 1,000,000 keys with a malformed last line", size, run);
  ExpectPeakWithin(run, size, 10);
}

}  // namespace
