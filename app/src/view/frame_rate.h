// Frames per second over the last few frames shown, for the title bar.
#pragma once

#include <chrono>
#include <deque>
#include "host_kit.h"

namespace xelimg::view {

class FrameRate {
 public:
  using Clock = std::chrono::steady_clock;

  void Count(Clock::time_point shown = Clock::now()) {
    m_Shown.push_back(shown);
    if (m_Shown.size() > kWindow) m_Shown.pop_front();
  }
  // 0 until two frames were shown.
  double PerSecond() const {
    if (m_Shown.size() < 2) return 0.0;
    const std::chrono::duration<double> span = m_Shown.back() - m_Shown.front();
    return span.count() > 0.0 ? static_cast<double>(m_Shown.size() - 1) / span.count() : 0.0;
  }
  void Reset() { m_Shown.clear(); }

 private:
  // Long enough to steady the figure, short enough to follow a change of pace within a second.
  static constexpr std::size_t kWindow = 16;
  std::deque<Clock::time_point> m_Shown;
};

}  // namespace xelimg::view
