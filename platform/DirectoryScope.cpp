// The open directory scopes of the process.
#include "platform/DirectoryScope.h"

#include <mutex>

namespace {

struct ScopeState {
  std::mutex mutex;
  int depth = 0;
  std::uint64_t current = 0;
  std::uint64_t last = 0;
};

ScopeState& State() {
  static ScopeState state;
  return state;
}

}  // namespace

CDirectoryScope::CDirectoryScope() {
  std::lock_guard lock(State().mutex);
  if (State().depth++ == 0) State().current = ++State().last;
}

CDirectoryScope::~CDirectoryScope() {
  std::lock_guard lock(State().mutex);
  if (--State().depth == 0) State().current = 0;
}

std::uint64_t CDirectoryScope::Current() {
  std::lock_guard lock(State().mutex);
  return State().current;
}
