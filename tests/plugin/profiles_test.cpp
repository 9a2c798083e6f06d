// The five colour profiles as a host sees them: through a processed frame whose source row holds every
// 8-bit grey value once, with the window over the whole range. The pixel at x shows the profile at
// position x / 255 as round(v * 65535). Expected values are the profile formulas worked out by hand.
#include "plugin_host.h"

#include <xelfw/Image.h>

#include <array>

namespace {

using Rgb = std::array<UINT, 3>;
constexpr UINT kFull = 65535;

struct Sample {
  UINT profile;
  UINT grey;
  Rgb colour;
};

constexpr Sample kSamples[] = {
    // Black - Blue - Green - Yellow - Red - White
    {0, 0, {0, 0, 0}},
    {0, 51, {0, 20251, kFull}},       // p = 0.2: green sin((0.2 - 1/6) * 6 * H) = 0.30902
    {0, 100, {0, kFull, 55719}},      // blue falling: sin((p - 1/6) * 6 * H) = 0.85022
    {0, 230, {kFull, 39494, 39494}},  // past 5/6 green and blue rise together towards white
    {0, 255, {kFull, kFull, kFull}},
    // Grey wedge
    {1, 51, {13107, 13107, 13107}},
    // Black - Blue - Purple - Red - Orange - Yellow - White
    {2, 51, {14583, 0, 37837}},       // red sin(0.1 * 10 * H / 7) = 0.22252, blue 2/3 sin(P / 3) = 0.57735
    {2, 230, {kFull, 63388, 47048}},  // green sin((p - 0.4) * 5 * H / 3), blue sin((p - 0.8) * 5 * H)
    {2, 255, {kFull, kFull, kFull}},
    // Black - Green - Red - White: green 0.5 p^6 + 2 p^4 - 3.7 p^2 + 2.2 p = 0.29523, blue p^4 = 0.0016
    {3, 51, {13107, 19348, 105}},
    {3, 255, {kFull, kFull, kFull}},
    // Clipping detection
    {4, 6, {0, 0, kFull}},            // p = 0.0235, below 0.024
    {4, 7, {232, 232, 232}},          // (p - 0.024) / 0.976 = 0.00354
    {4, 254, {65272, 65272, 65272}},  // just under the top is still grey
    {4, 255, {kFull, 0, 0}},
};

TEST(ProfilesTest, ColoursAtChosenPositions) {
  plugin_host::HostedObject host;
  xelfw::Image source{256, 1, xelfw::PixelLayout::Grey(8, 8)};
  xelfw::Image destination{256, 1, xelfw::PixelLayout::Colour(16, 3)};
  for (UINT grey = 0; grey < 256; ++grey) source.SetComponent(grey, 0, 0, grey);
  host->SetImage(0, &source);
  host->SetImage(1, &destination);
  for (const Sample& sample : kSamples) {
    ASSERT_EQ(host->SetParam(XIP_PARAM_OBJECT_INDEX, sample.profile, 0), XIP_OK);
    ASSERT_EQ(host->Process(0), XIP_OK);
    const Rgb colour{destination.GetComponent(sample.grey, 0, 0), destination.GetComponent(sample.grey, 0, 1),
                     destination.GetComponent(sample.grey, 0, 2)};
    EXPECT_EQ(colour, sample.colour) << "profile " << sample.profile << ", grey " << sample.grey;
  }
}

}  // namespace
