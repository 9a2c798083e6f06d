// Frame sources: frames already in memory, and the demo scene made frame by frame.
#include <xelhost/frame_source.h>

#include <xelhost/demo_scene.h>

namespace xelhost {

namespace {

class MemoryFrames final : public FrameSource {
 public:
  explicit MemoryFrames(std::vector<xelfw::Image> frames) : m_Frames(std::move(frames)) {}
  UINT Count() const override { return static_cast<UINT>(m_Frames.size()); }
  xelfw::Image Frame(UINT index) const override { return m_Frames.at(index); }

 private:
  std::vector<xelfw::Image> m_Frames;
};

class DemoFrames final : public FrameSource {
 public:
  UINT Count() const override { return kDemoFrames; }
  xelfw::Image Frame(UINT index) const override { return MakeDemoFrame(index); }
};

}  // namespace

std::unique_ptr<FrameSource> OpenDemoFrames() { return std::make_unique<DemoFrames>(); }

std::unique_ptr<FrameSource> FramesInMemory(std::vector<xelfw::Image> frames) {
  return std::make_unique<MemoryFrames>(std::move(frames));
}

}  // namespace xelhost
