// A progress line on stderr for long runs: frames done of the total, frames per second, time left.
#pragma once

#include <chrono>
#include <cstddef>
#include "host_kit.h"

namespace xelimg {

class ProgressLine {
 public:
  // Shows itself only when enabled, stderr is a terminal and there is more than one frame. A total
  // of std::numeric_limits<std::size_t>::max() is unknown (a stream): frames done and their rate.
  ProgressLine(std::size_t total, bool enabled);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // One more frame done (or skipped). Redraws at most ten times a second.
  void Advance();
  // Clears the line, so that a message can be printed on a line of its own.
  void Clear();

 private:
  void Draw();

  std::size_t m_Total;
  std::size_t m_Done = 0;
  bool m_Shown;
  bool m_Drawn = false;
  std::chrono::steady_clock::time_point m_Start;
  std::chrono::steady_clock::time_point m_LastDraw;
};

}  // namespace xelimg
