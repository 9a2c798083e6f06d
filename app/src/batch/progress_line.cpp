// The progress line: redrawn in place with a carriage return, erased at the end.
#include "batch/progress_line.h"
#include "host_kit.h"

#include <unistd.h>

#include <cstdio>
#include <limits>

namespace xelimg {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressLine::ProgressLine(std::size_t total, bool enabled)
    : m_Total(total),
      m_Shown(enabled && total > 1 && ::isatty(STDERR_FILENO) == 1),
      m_Start(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() { Clear(); }

void ProgressLine::Advance() {
  ++m_Done;
  if (!m_Shown) return;
  const auto now = std::chrono::steady_clock::now();
  if (m_Drawn && now - m_LastDraw < kRedrawInterval && m_Done < m_Total) return;
  m_LastDraw = now;
  Draw();
}

void ProgressLine::Draw() {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_Start).count();
  const double fps = seconds > 0.0 ? static_cast<double>(m_Done) / seconds : 0.0;
  if (m_Total == std::numeric_limits<std::size_t>::max()) {
    std::fprintf(stderr, "\r%zu frames, %.1f frames/s\x1b[K", m_Done, fps);
    std::fflush(stderr);
    m_Drawn = true;
    return;
  }
  const std::size_t left = m_Total > m_Done ? m_Total - m_Done : 0;
  const long secondsLeft = fps > 0.0 ? static_cast<long>(static_cast<double>(left) / fps + 0.5) : 0;
  std::fprintf(stderr, "\r%zu of %zu frames, %.1f frames/s, %ld:%02ld left\x1b[K", m_Done, m_Total, fps,
               secondsLeft / 60, secondsLeft % 60);
  std::fflush(stderr);
  m_Drawn = true;
}

void ProgressLine::Clear() {
  if (!m_Drawn) return;
  std::fprintf(stderr, "\r\x1b[K");
  std::fflush(stderr);
  m_Drawn = false;
}

}  // namespace xelimg
