// The five colour profiles as a host sees them: through the pixels of a processed frame. The source
// row holds every 8-bit grey value once (x = grey) and the window is the whole range, so the pixel at
// x shows the profile at position x / 255, scaled to 16 bits as round(v * 65535).
#include "tests/plugin/plugin_host.h"

#include <xelfw/Image.h>

#include <array>

namespace {

using Rgb = std::array<UINT, 3>;

class ProfilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(host.object, nullptr);
    for (UINT grey = 0; grey < 256; ++grey) source.SetComponent(grey, 0, 0, grey);
    host->SetImage(0, &source);
    host->SetImage(1, &destination);
  }

  // The destination pixel of a grey value with profile `index` current.
  Rgb ColourOf(UINT index, UINT grey) {
    if (index != current) {
      EXPECT_EQ(host->SetParam(XIP_PARAM_OBJECT_INDEX, index, 0), XIP_OK);
      EXPECT_EQ(host->Process(0), XIP_OK);
      current = index;
    }
    return {destination.GetComponent(grey, 0, 0), destination.GetComponent(grey, 0, 1),
            destination.GetComponent(grey, 0, 2)};
  }

  plugin_host::HostedObject host{XIP_OBJTYPE_PSEUDOCOLOR_LUT};
  xelfw::Image source{256, 1, xelfw::PixelLayout::Grey(8, 8)};
  xelfw::Image destination{256, 1, xelfw::PixelLayout::Colour(16, 3)};
  UINT current = ~0u;
};

constexpr UINT kWhite = 65535;

TEST_F(ProfilesTest, BlackBlueGreenYellowRedWhite) {
  EXPECT_EQ(ColourOf(0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(ColourOf(0, 7), (Rgb{0, 0, 16767}));      // blue sin(p * 6 * H) = 0.25584
  EXPECT_EQ(ColourOf(0, 51), (Rgb{0, 20251, kWhite}));  // p = 0.2: green sin((0.2 - 1/6) * 6 * H) = 0.30902
  EXPECT_EQ(ColourOf(0, 100), (Rgb{0, kWhite, 55719}));  // falling blue sin((p - 1/6) * 6 * H) = 0.85022
  // Past 5/6 green and blue rise together again towards white.
  EXPECT_EQ(ColourOf(0, 230), (Rgb{kWhite, 39494, 39494}));
  EXPECT_EQ(ColourOf(0, 255), (Rgb{kWhite, kWhite, kWhite}));
}

TEST_F(ProfilesTest, GreyWedgeIsTheIdentity) {
  EXPECT_EQ(ColourOf(1, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(ColourOf(1, 51), (Rgb{13107, 13107, 13107}));
  EXPECT_EQ(ColourOf(1, 100), (Rgb{25700, 25700, 25700}));
  EXPECT_EQ(ColourOf(1, 255), (Rgb{kWhite, kWhite, kWhite}));
}

TEST_F(ProfilesTest, BlackBluePurpleRedOrangeYellowWhite) {
  EXPECT_EQ(ColourOf(2, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(ColourOf(2, 7), (Rgb{0, 0, 6258}));  // blue hump 2/3 sin(p * 5 * P / 3) = 0.09549
  // p = 0.2: red sin(0.1 * 10 * H / 7) = 0.22252, blue 2/3 sin(P / 3) = 0.57735.
  EXPECT_EQ(ColourOf(2, 51), (Rgb{14583, 0, 37837}));
  EXPECT_EQ(ColourOf(2, 100), (Rgb{39952, 0, 38702}));
  // Above 0.8: red full, green sin((p - 0.4) * 5 * H / 3) = 0.96724, blue sin((p - 0.8) * 5 * H) = 0.71791.
  EXPECT_EQ(ColourOf(2, 230), (Rgb{kWhite, 63388, 47048}));
  EXPECT_EQ(ColourOf(2, 255), (Rgb{kWhite, kWhite, kWhite}));
}

TEST_F(ProfilesTest, BlackGreenRedWhite) {
  EXPECT_EQ(ColourOf(3, 0), (Rgb{0, 0, 0}));
  // p = 0.2: green 0.5 p^6 + 2 p^4 - 3.7 p^2 + 2.2 p = 0.29523, blue p^4 = 0.0016.
  EXPECT_EQ(ColourOf(3, 51), (Rgb{13107, 19348, 105}));
  EXPECT_EQ(ColourOf(3, 100), (Rgb{25700, 22469, 1550}));  // near the top of green's hump
  EXPECT_EQ(ColourOf(3, 230), (Rgb{59110, 37167, 43373}));
  EXPECT_EQ(ColourOf(3, 255), (Rgb{kWhite, kWhite, kWhite}));
}

TEST_F(ProfilesTest, ClippingDetectionMarksBothEndsOfTheRange) {
  EXPECT_EQ(ColourOf(4, 0), (Rgb{0, 0, kWhite}));
  EXPECT_EQ(ColourOf(4, 6), (Rgb{0, 0, kWhite}));  // p = 0.0235, still below 0.024
  EXPECT_EQ(ColourOf(4, 7), (Rgb{232, 232, 232}));  // (p - 0.024) / 0.976 = 0.00354
  EXPECT_EQ(ColourOf(4, 100), (Rgb{24720, 24720, 24720}));
  EXPECT_EQ(ColourOf(4, 254), (Rgb{65272, 65272, 65272}));  // grey just under 1 below the top
  EXPECT_EQ(ColourOf(4, 255), (Rgb{kWhite, 0, 0}));
}

}  // namespace
