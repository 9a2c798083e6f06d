// A window moved from another thread while frames are being processed: once it stops moving, the
// next frame is coloured by the last window, never by one the processing thread read earlier.
#include "pseudo_color_rig.h"

#include <atomic>
#include <thread>

namespace {

using namespace pseudo_color_rig;

constexpr UINT kRounds = 120;
constexpr UINT kMovesPerRound = 4;

// An 8-bit source holding every grey value once, left to right.
xelfw::Image EveryGreyValue() {
  xelfw::Image image(256, 1, xelfw::PixelLayout::Grey(8, 8));
  for (UINT x = 0; x < 256; ++x) image.SetUnit(x, 0, 0, x);
  return image;
}

// An empty window halfway between grey values step and step + 1: through the grey wedge, black up
// to step and white above it, so each window leaves its own picture.
double EmptyWindowAbove(UINT step) { return (step + 0.5) / 255.0; }

bool ShowsStepAbove(const xelfw::Image& picture, UINT step) {
  for (UINT x = 0; x < 256; ++x)
    for (UINT c = 0; c < 3; ++c)
      if (picture.GetUnit(x, 0, c) != (x <= step ? 0u : 255u)) return false;
  return true;
}

TEST(MovingBoundsTest, TheFrameAfterTheLastMoveShowsTheLastWindow) {
  xelfw::Image source = EveryGreyValue();
  xelfw::Image destination(256, 1, xelfw::PixelLayout::Colour(8, 3));
  Rig rig;
  rig.SelectProfile(kProfileGreyWedge);
  rig.SetImages(&source, &destination);
  plugin_host::Settings record = plugin_host::GetSettings(rig.Object());

  std::atomic<UINT> framesDone{0};
  for (UINT round = 0; round < kRounds; ++round) {
    UINT step = 0;
    {
      const std::jthread processing([&](const std::stop_token& stop) {
        while (!stop.stop_requested()) {
          rig.Process();
          ++framesDone;
        }
      });
      for (UINT move = 0; move < kMovesPerRound; ++move) {
        // Each move lands somewhere inside a frame, not all of them before the first one.
        const UINT frames = framesDone.load();
        while (framesDone.load() == frames) std::this_thread::yield();
        // The whole record at once, as a host stores it through the parameter.
        step = (round * 37 + move * 101) % 255;
        plugin_host::Write(record, kLower, EmptyWindowAbove(step));
        plugin_host::Write(record, kUpper, EmptyWindowAbove(step));
        ASSERT_EQ(plugin_host::SetSettings(rig.Object(), record), XIP_OK);
      }
    }
    ASSERT_EQ(rig.Process(), XIP_OK);
    ASSERT_TRUE(ShowsStepAbove(destination, step)) << "round " << round << ", last step " << step;
  }
}

}  // namespace
