// What a batch did: frames done and skipped, the skipped ones named on stderr as they happen, and
// the exit code that sums it up.
#pragma once

#include <xelhost/frame_inputs.h>
#include "batch/progress_line.h"
#include "exit_status.h"
#include "host_kit.h"

#include <string>
#include <vector>

namespace xelimg {

inline constexpr int kExitSomeSkipped = 1;

class BatchReport {
 public:
  BatchReport(const std::vector<InputFile>& inputs, bool showProgress);

  void Done();
  // "xelimg: skipped FILE [page P]: REASON" on stderr.
  void Skipped(const InputFrame& frame, const std::string& reason);
  // "xelimg: warning: FILE [page P]: WHAT" on stderr, for a frame that was done all the same.
  void Warned(const InputFrame& frame, const std::string& what);
  std::size_t DoneCount() const { return m_Done; }
  // 0 when every frame was done without a warning, 1 when some were skipped or warned about, 2 when
  // none was done.
  int ExitCode() const;

 private:
  const std::vector<InputFile>& m_Inputs;
  ProgressLine m_Progress;
  std::size_t m_Done = 0;
  std::size_t m_Skipped = 0;
  std::size_t m_Warned = 0;
};

}  // namespace xelimg
