// Registry key paths: the components of a path below a key, and "ROOT\path" texts.
#pragma once

#include <string_view>
#include <vector>

#include "platform/RegistryRoots.h"
#include "platform/Status.h"

// The longest key or value name that Windows 9x allows.
inline constexpr std::size_t kMaxRegNameLength = 255;

enum class KeyPathUse { Open, Create };

// The backslash-separated components of `path`, a key path below some key; one or more
// trailing backslashes are ignored and an empty path has no component. As on Windows 9x, a
// leading backslash fails an open with ERROR_FILE_NOT_FOUND and is skipped by a create. An
// empty component (a doubled backslash) or one holding a NUL fails with ERROR_FILE_NOT_FOUND;
// a component longer than kMaxRegNameLength cannot exist (ERROR_FILE_NOT_FOUND) and cannot be
// created (ERROR_INVALID_PARAMETER).
Status SplitKeyPath(std::string_view path, KeyPathUse use, std::vector<std::string_view>* parts);

// Splits "HKEY_LOCAL_MACHINE\Software\X" (or "HKLM\Software\X") into its root and the path
// below it ("Software\X"; empty for the root itself). False when the root name is unknown.
bool SplitRootedKeyPath(std::string_view text, const RegRoot** root, std::string_view* below);
