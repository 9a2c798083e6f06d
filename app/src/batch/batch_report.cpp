// Counting and reporting a batch's frames.
#include "batch/batch_report.h"
#include "host_kit.h"

#include <xelhost/errors.h>

#include <cstdio>

namespace xelimg {

BatchReport::BatchReport(const std::vector<InputFile>& inputs, bool showProgress)
    : m_Inputs(inputs), m_Progress(TotalFrames(inputs), showProgress) {}

void BatchReport::Done() {
  ++m_Done;
  m_Progress.Advance();
}

void BatchReport::Skipped(const InputFrame& frame, const std::string& reason) {
  ++m_Skipped;
  m_Progress.Clear();
  std::fprintf(stderr, "xelimg: skipped %s: %s\n", FrameLabel(m_Inputs[frame.input], frame.page).c_str(),
               reason.c_str());
  std::fflush(stderr);
  m_Progress.Advance();
}

void BatchReport::Warned(const InputFrame& frame, const std::string& what) {
  ++m_Warned;
  m_Progress.Clear();
  std::fprintf(stderr, "xelimg: warning: %s: %s\n", FrameLabel(m_Inputs[frame.input], frame.page).c_str(),
               what.c_str());
  std::fflush(stderr);
}

int BatchReport::ExitCode() const {
  if (m_Done == 0) return kExitFailure;
  return m_Skipped == 0 && m_Warned == 0 ? kExitOk : kExitSomeSkipped;
}

}  // namespace xelimg
