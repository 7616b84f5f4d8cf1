// What the fuzz targets share: stopping on a broken property, splitting an input into fields,
// and a place for their temporary machines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Prints what broke, with the bytes concerned made readable, and aborts, so that the fuzzer
// keeps the input as a crash.
[[noreturn]] void FuzzFail(std::string_view what, std::string_view detail = {});

#define FUZZ_CHECK(condition, detail)                    \
  do {                                                   \
    if (!(condition)) FuzzFail(#condition, (detail));    \
  } while (0)

// `text` with control bytes, backslashes and bytes above 0x7e written as \xNN, for messages.
std::string Printable(std::string_view text);

// The input as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits `input` at its first `count - 1` NUL bytes into `count` fields; fields that the input
// does not reach are empty. The last field keeps whatever NUL bytes follow.
std::vector<std::string_view> SplitFields(std::string_view input, std::size_t count);

// Temporary machines of the fuzz targets go to a memory file system when there is one: a
// machine syncs every file it writes, and a disk would make each execution cost a sync.
void PreferMemoryTempDir();
