// CProgressMeter: the deletion pass's progress arithmetic, in whole numbers of 64 bits.
#pragma once

#include <cstdint>
#include <optional>

class CProgressMeter {
 public:
  // The step is the running total divided by 100.
  explicit CProgressMeter(std::uint64_t nTotal) : m_nStep(nTotal / 100) {}

  // Moves past an entry of `nSize` and gives the position to send the bar, or nothing: a
  // position above 100 is never sent, and a total below 100 has no step to measure by, so the
  // bar stays until the pass ends.
  std::optional<int> Advance(std::uint32_t nSize) {
    if (m_nStep == 0) return std::nullopt;
    m_nPos += nSize / m_nStep;
    if (m_nPos > kEnd) return std::nullopt;
    return static_cast<int>(m_nPos);
  }

  static constexpr int kEnd = 100;

 private:
  std::uint64_t m_nStep;
  std::uint64_t m_nPos = 0;
};
