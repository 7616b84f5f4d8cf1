// The shared /proc scan of a deletion pass.
#include "platform/FileUseScan.h"

#include <mutex>
#include <optional>

namespace {

struct ScanState {
  std::mutex mutex;
  int depth = 0;
  std::optional<COpenFileTable> table;  // taken on first need inside a scope
  std::uint64_t scans = 0;
};

ScanState& State() {
  static ScanState state;
  return state;
}

}  // namespace

CFileUseScan::CFileUseScan() {
  std::lock_guard lock(State().mutex);
  ++State().depth;
}

CFileUseScan::~CFileUseScan() {
  std::lock_guard lock(State().mutex);
  if (--State().depth == 0) State().table.reset();
}

bool CFileUseScan::IsOpenElsewhere(const HostFileId& file) {
  ScanState& state = State();
  std::lock_guard lock(state.mutex);
  if (state.depth == 0) {
    ++state.scans;
    return COpenFileTable::Scan().Contains(file);
  }
  if (!state.table) {
    ++state.scans;
    state.table = COpenFileTable::Scan();
  }
  return state.table->Contains(file);
}

std::uint64_t CFileUseScan::ScanCount() {
  std::lock_guard lock(State().mutex);
  return State().scans;
}
