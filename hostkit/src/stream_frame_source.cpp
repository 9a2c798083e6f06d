// A live stream behind the viewer's indexed frames.
#include <xelhost/stream_frame_source.h>

#include <xelhost/input_image.h>

#include <xelhost/GstFrameSource.h>

#include <cstdio>
#include <limits>
#include <mutex>

namespace xelhost {

namespace {

class StreamFrames final : public FrameSource {
 public:
  StreamFrames(const std::string& operand, std::optional<UINT> inputBits, std::chrono::milliseconds timeout,
               MemoryBudget& budget, const FrameCost& shown)
      : m_Operand(operand),
        m_InputBits(inputBits),
        m_Stream(operand, {true, timeout, budget.Available()}),
        m_Last(Pull().value()) {
    const xelhost::ImageFileInfo info{m_Last.Width(), m_Last.Height(), 1, m_Last.Layout()};
    budget.Reserve(info.FrameBytes() + shown(info), m_Operand + " (its frames and their pictures on screen)");
  }

  // A stream has no end known in advance; the viewer's indices only tell a new frame from the same.
  UINT Count() const override { return kLiveCount; }

  xelfw::Image Frame(UINT index) const override {
    std::lock_guard lock(m_Mutex);
    if (index != m_LastIndex && !m_Ended) {
      if (auto next = Pull()) {
        m_Last = std::move(*next);
      } else {
        m_Ended = true;
      }
      m_LastIndex = index;
    }
    return m_Last;
  }

 private:
  std::optional<xelfw::Image> Pull() const {
    std::optional<xelfw::Image> frame = m_Stream.Next();
    if (!frame) {
      if (!m_Started) throw xelhost::StreamError(m_Operand + ": the stream ended before its first frame");
      return frame;
    }
    if (auto warning = ApplyInputBits({&*frame, 1}, m_InputBits, m_Operand); warning && !m_Warned) {
      std::fprintf(stderr, "%s\n", warning->c_str());
      m_Warned = true;
    }
    m_Started = true;
    return frame;
  }

  std::string m_Operand;
  std::optional<UINT> m_InputBits;
  mutable std::mutex m_Mutex;
  mutable xelhost::StreamFrameSource m_Stream;
  mutable bool m_Started = false;
  mutable bool m_Warned = false;
  mutable xelfw::Image m_Last;
  mutable UINT m_LastIndex = 0;
  mutable bool m_Ended = false;
};

}  // namespace

std::unique_ptr<FrameSource> OpenStreamFrames(const std::string& operand, std::optional<UINT> inputBits,
                                              std::chrono::milliseconds timeout, MemoryBudget& budget,
                                              const FrameCost& shown) {
  return std::make_unique<StreamFrames>(operand, inputBits, timeout, budget, shown);
}

}  // namespace xelhost
