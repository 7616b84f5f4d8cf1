// Reading strace output and judging its changes against the machine's bounds.
#include "tests/hostile/FileTrace.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// One call as the trace shows it, with its arguments split at the top level.
struct RawCall {
  std::string name;
  std::vector<std::string_view> args;
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The text of an escaped string ("\x2f\x74", or plain text with C escapes), up to `end`.
std::string Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char next = text[++i];
    if (next == 'x' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
  }
  return out;
}

// A quoted string argument; nothing when the argument is not one or was cut by strace ("..."...).
std::optional<std::string> StringArg(std::string_view arg) {
  if (arg.size() < 2 || arg.front() != '"') return std::nullopt;
  size_t close = arg.rfind('"');
  if (close == 0 || arg.substr(close + 1).starts_with("...")) return std::nullopt;
  return Unescape(arg.substr(1, close - 1));
}

// The path of a descriptor argument as -y shows it ("AT_FDCWD</tmp>", "3</tmp/x>").
std::optional<std::string> DescriptorPath(std::string_view arg) {
  size_t open = arg.find('<');
  if (open == std::string_view::npos || !arg.ends_with('>')) return std::nullopt;
  return Unescape(arg.substr(open + 1, arg.size() - open - 2));
}

// The file that a successful open gave, from the descriptor it returned: "= 3</tmp/x>".
std::string OpenedFile(std::string_view text) {
  size_t result = text.rfind(") = ");
  if (result == std::string_view::npos) return {};
  std::string_view value = text.substr(result + 4);
  if (value.empty() || value[0] == '-') return {};
  return DescriptorPath(value.substr(0, value.find(' '))).value_or("");
}

// Splits "name(a, b, {c, d}) = r" into the name and its top-level arguments.
std::optional<RawCall> SplitCall(std::string_view text) {
  size_t open = text.find('(');
  if (open == std::string_view::npos || open == 0) return std::nullopt;
  RawCall call{std::string(text.substr(0, open)), {}};
  int depth = 0;
  bool quoted = false;
  size_t start = open + 1;
  for (size_t i = open; i < text.size(); ++i) {
    char c = text[i];
    if (quoted) {
      if (c == '\\') ++i;
      else if (c == '"') quoted = false;
      continue;
    }
    if (c == '"') quoted = true;
    else if (c == '(' || c == '[' || c == '{' || c == '<') ++depth;
    else if (c == ')' || c == ']' || c == '}' || c == '>') --depth;
    if (depth == 0) {
      if (i > start) call.args.push_back(text.substr(start, i - start));
      return call;
    }
    if (depth == 1 && c == ',') {
      call.args.push_back(text.substr(start, i - start));
      start = i + 2;
    }
  }
  return std::nullopt;
}

bool HasFlag(std::string_view flags, std::string_view flag) {
  for (size_t at = flags.find(flag); at != std::string_view::npos; at = flags.find(flag, at + 1)) {
    size_t end = at + flag.size();
    bool starts = at == 0 || flags[at - 1] == '|' || flags[at - 1] == '=' || flags[at - 1] == '{';
    bool ends = end == flags.size() || flags[end] == '|' || flags[end] == ',' || flags[end] == '}';
    if (starts && ends) return true;
  }
  return false;
}

bool OpensForChange(std::string_view flags) {
  for (std::string_view flag : {"O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND", "O_TMPFILE"})
    if (HasFlag(flags, flag)) return true;
  return false;
}

class CTraceReader {
 public:
  explicit CTraceReader(std::string cwd) : m_cwd(std::move(cwd)) {}

  void Read(std::string_view line, std::vector<TracedCall>* changes);

 private:
  std::string Arg(const RawCall& call, size_t index) const {
    return index < call.args.size() ? std::string(call.args[index]) : std::string();
  }
  // The absolute path that a path argument (and, for the *at calls, its directory argument)
  // names; empty when the trace does not say.
  std::string PathOf(const RawCall& call, std::optional<size_t> dirIndex, size_t pathIndex) const;
  std::string DescriptorOf(const RawCall& call, size_t index) const {
    return index < call.args.size() ? DescriptorPath(call.args[index]).value_or("") : "";
  }
  void Classify(const RawCall& call, TracedCall* change);

  std::string m_cwd;
  bool m_cwdKnown = true;
  std::map<std::string, std::string> m_unfinished;  // pid -> the start of an interrupted call
};

std::string CTraceReader::PathOf(const RawCall& call, std::optional<size_t> dirIndex, size_t pathIndex) const {
  if (pathIndex >= call.args.size()) return {};
  std::string_view arg = call.args[pathIndex];
  std::optional<std::string> path = StringArg(arg);
  if (!path) return arg == "NULL" && dirIndex ? DescriptorOf(call, *dirIndex) : std::string();
  if (path->starts_with('/')) return *path;
  std::string dir;
  if (dirIndex) {
    dir = DescriptorOf(call, *dirIndex);
  } else if (m_cwdKnown) {
    dir = m_cwd;
  }
  if (dir.empty()) return {};
  return path->empty() ? dir : dir + "/" + *path;
}

void CTraceReader::Classify(const RawCall& call, TracedCall* change) {
  const std::string& n = call.name;
  auto one = [&](std::optional<size_t> dir, size_t path, bool follows) {
    change->paths = {PathOf(call, dir, path)};
    change->followsLink = follows;
    change->changes = true;
  };
  if (n == "open" || n == "openat" || n == "openat2") {
    bool at = n != "open";
    std::string flags = Arg(call, at ? 2 : 1);
    bool exclusive = HasFlag(flags, "O_CREAT") && HasFlag(flags, "O_EXCL");
    one(at ? std::optional<size_t>(0) : std::nullopt, at ? 1 : 0, !HasFlag(flags, "O_NOFOLLOW") && !exclusive);
    change->changes = OpensForChange(flags);
  } else if (n == "creat" || n == "truncate" || n == "chmod" || n == "chown" || n == "utime" || n == "utimes" ||
             n == "setxattr" || n == "removexattr") {
    one(std::nullopt, 0, true);
  } else if (n == "unlink" || n == "rmdir" || n == "mkdir" || n == "mknod" || n == "lchown" || n == "lsetxattr" ||
             n == "lremovexattr") {
    one(std::nullopt, 0, false);
  } else if (n == "unlinkat" || n == "mkdirat" || n == "mknodat") {
    one(0, 1, false);
  } else if (n == "fchmodat" || n == "fchownat" || n == "utimensat" || n == "futimesat") {
    one(0, 1, Arg(call, call.args.size() - 1).find("AT_SYMLINK_NOFOLLOW") == std::string::npos);
  } else if (n == "rename" || n == "link") {
    change->paths = {PathOf(call, std::nullopt, 0), PathOf(call, std::nullopt, 1)};
    change->changes = true;
  } else if (n == "renameat" || n == "renameat2" || n == "linkat") {
    change->paths = {PathOf(call, 0, 1), PathOf(call, 2, 3)};
    change->changes = true;
  } else if (n == "symlink") {
    one(std::nullopt, 1, false);
  } else if (n == "symlinkat") {
    one(1, 2, false);
  } else if (n == "ftruncate" || n == "fchmod" || n == "fchown" || n == "fallocate" || n == "fsetxattr" ||
             n == "fremovexattr") {
    change->paths = {DescriptorOf(call, 0)};
    change->changes = true;
  } else if (n == "chdir" || n == "fchdir") {
    // Later relative paths of calls without a directory descriptor can no longer be placed.
    m_cwdKnown = false;
  }
}

void CTraceReader::Read(std::string_view line, std::vector<TracedCall>* changes) {
  size_t space = line.find(' ');
  if (space == std::string_view::npos) return;
  std::string pid(line.substr(0, space));
  std::string text(line.substr(line.find_first_not_of(' ', space)));
  if (text.starts_with("---") || text.starts_with("+++")) return;
  constexpr std::string_view kUnfinished = " <unfinished ...>";
  if (text.ends_with(kUnfinished)) {
    m_unfinished[pid] = text.substr(0, text.size() - kUnfinished.size());
    return;
  }
  if (text.starts_with("<... ")) {
    size_t resumed = text.find("resumed>");
    auto start = m_unfinished.find(pid);
    if (resumed == std::string::npos || start == m_unfinished.end()) return;
    text = start->second + text.substr(resumed + 8);
    m_unfinished.erase(start);
  }
  std::optional<RawCall> call = SplitCall(text);
  if (!call) return;
  TracedCall change;
  Classify(*call, &change);
  if (change.paths.empty()) return;
  change.call = call->name;
  if (change.call.starts_with("open")) change.opened = OpenedFile(text);
  changes->push_back(std::move(change));
}

bool IsPlain(const std::string& path) {
  return path.starts_with('/') && path.find("//") == std::string::npos && path.find("/./") == std::string::npos &&
         path.find("/../") == std::string::npos && !path.ends_with("/.") && !path.ends_with("/..") &&
         (path.size() == 1 || !path.ends_with('/'));
}

// Why `path` is not provably inside, or empty when it is.
std::string WhyOutside(const std::string& path, bool followsLink, const JailBounds& bounds) {
  if (path.empty()) return "a path the trace does not give";
  if (bounds.allowed.contains(path) || path == "/dev/null" || path == "/dev/tty") return {};
  if (!IsPlain(path)) return "a path that is not in plain form";
  for (const std::string& root : bounds.roots) {
    if (!path.starts_with(root + "/")) continue;
    for (size_t slash = path.find('/', root.size() + 1); slash != std::string::npos; slash = path.find('/', slash + 1))
      if (bounds.links.contains(path.substr(0, slash))) return "through the link " + path.substr(0, slash);
    if (followsLink && bounds.links.contains(path)) return "following the link " + path;
    return {};
  }
  return "outside the machine";
}

}  // namespace

std::vector<TracedCall> ReadFileTrace(std::string_view text, const std::string& cwd) {
  CTraceReader reader(cwd);
  std::vector<TracedCall> changes;
  while (!text.empty()) {
    size_t end = text.find('\n');
    reader.Read(text.substr(0, end), &changes);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return changes;
}

std::vector<std::string> ChangesOutside(const std::vector<TracedCall>& calls, JailBounds bounds) {
  std::vector<std::string> outside;
  for (const TracedCall& change : calls) {
    if (!change.changes) continue;
    for (size_t i = 0; i < change.paths.size(); ++i) {
      bool last = i + 1 == change.paths.size();
      std::string why = WhyOutside(change.paths[i], change.followsLink && last, bounds);
      if (!why.empty()) outside.push_back(change.call + " " + change.paths[i] + ": " + why);
    }
    // A link renamed inside the machine is still a link: paths through its new name lead out too.
    bool rename = change.call.starts_with("rename") && change.paths.size() == 2;
    if (rename && bounds.links.contains(change.paths[0])) bounds.links.insert(change.paths[1]);
  }
  return outside;
}

std::vector<std::string> OpensBelow(const std::vector<TracedCall>& calls, const std::string& dir) {
  std::vector<std::string> opens;
  for (const TracedCall& call : calls)
    if (call.opened == dir || call.opened.starts_with(dir + "/")) opens.push_back(call.call + " " + call.opened);
  return opens;
}
