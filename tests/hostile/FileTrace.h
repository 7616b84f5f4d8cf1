// The file-system calls of a traced run, read from the output of
//   strace -f -y -xx -o FILE -e trace=<kFileTraceCalls> PROGRAM...
// and the judgement of which of them may have changed anything outside the machine.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

// The calls to trace: every call that names a file, and the calls that change a file through a
// descriptor (the descriptor's path is in the trace, thanks to -y).
inline constexpr const char* kFileTraceCalls = "%file,ftruncate,fchmod,fchown,fallocate,fsetxattr,fremovexattr,fchdir";

// One call that opens a file or can change the file system: what it names, as absolute host paths.
struct TracedCall {
  std::string call;                // "openat", "unlinkat"...
  std::vector<std::string> paths;  // absolute; empty text where the trace does not say
  bool changes = false;            // it can change the file system (an open for writing, unlink...)
  bool followsLink = false;        // it follows a link at the last component of its path
  std::string opened;              // for an open that succeeded: the file the kernel opened
};

// The opening and changing calls of the trace `text`, in order. Relative paths without a
// directory descriptor are taken against `cwd` as long as no traced process has changed its
// directory; after that their path is unknown (empty).
std::vector<TracedCall> ReadFileTrace(std::string_view text, const std::string& cwd);

// Where a run may change files: below one of the machine's roots (as given and as resolved),
// never through one of the machine's symbolic links, and the few files outside it the test
// allows (the transcript); /dev/null and /dev/tty always.
struct JailBounds {
  std::vector<std::string> roots;
  std::set<std::string> links;    // host paths of the symbolic links inside the machine
  std::set<std::string> allowed;  // host files outside that the run may write
};

// One line for every change that is not provably inside the bounds: a path outside, unknown,
// not in plain form (`.`, `..`, doubled slashes), or reached through a link of the machine. A
// rename that moves a link takes the link's role to its new name.
std::vector<std::string> ChangesOutside(const std::vector<TracedCall>& calls, JailBounds bounds);

// One line for every open that reached a file at or below the host folder `dir`.
std::vector<std::string> OpensBelow(const std::vector<TracedCall>& calls, const std::string& dir);
