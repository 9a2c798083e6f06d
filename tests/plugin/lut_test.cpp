// The LUT: when it is rebuilt, and what the window does at its edges.
#include "pseudo_color_rig.h"

#include <limits>

namespace {

using namespace pseudo_color_rig;

const std::string kNoRecalculation = "CXelPseudoColorClass::UpdateLut: No need to recalculate LUT";

// An 8-bit source holding every grey value once, left to right.
xelfw::Image EveryGreyValue() {
  xelfw::Image image(256, 1, xelfw::PixelLayout::Grey(8, 8));
  for (UINT x = 0; x < 256; ++x) image.SetUnit(x, 0, 0, x);
  return image;
}

TEST(LutTest, RebuildsOnlyWhenKeysChange) {
  xelfw::Image source = EveryGreyValue();
  xelfw::Image rgb8(256, 1, xelfw::PixelLayout::Colour(8, 3));
  xelfw::Image rgb16(256, 1, xelfw::PixelLayout::Colour(16, 3));
  Rig rig;
  rig.SetImages(&source, &rgb8);
  ASSERT_EQ(rig.Process(), XIP_OK);
  EXPECT_FALSE(rig.Logged(kNoRecalculation));
  ASSERT_EQ(rig.Process(), XIP_OK);
  EXPECT_TRUE(rig.Logged(kNoRecalculation));

  const auto rebuilds = [&](auto change) {
    change();
    EXPECT_EQ(rig.Process(), XIP_OK);
    const bool rebuilt = !rig.Logged(kNoRecalculation);
    EXPECT_EQ(rig.Process(), XIP_OK);
    EXPECT_TRUE(rig.Logged(kNoRecalculation)) << "the rebuilt tables are kept";
    return rebuilt;
  };
  EXPECT_TRUE(rebuilds([&] { rig.SelectProfile(kProfileClipDetect); }));
  EXPECT_TRUE(rebuilds([&] { rig.SetField(kLower, 0.25); }));
  EXPECT_TRUE(rebuilds([&] { rig.SetImages(&source, &rgb16); }));
  xelfw::Image otherPixels(256, 1, xelfw::PixelLayout::Grey(8, 8));
  EXPECT_FALSE(rebuilds([&] { rig.SetImages(&otherPixels, &rgb16); })) << "pixels are not a key";
}

TEST(LutTest, EmptyWindowIsAStepAtTheLowerBound) {
  xelfw::Image source = EveryGreyValue();
  xelfw::Image destination(256, 1, xelfw::PixelLayout::Colour(8, 3));
  Rig rig;
  rig.SelectProfile(kProfileGreyWedge);
  rig.SetBounds(0.5, 0.5);
  rig.SetImages(&source, &destination);
  ASSERT_EQ(rig.Process(), XIP_OK);
  for (UINT x = 0; x < 256; ++x) ASSERT_EQ(destination.GetUnit(x, 0, 0), x <= 127 ? 0u : 255u) << x;

  rig.SetBounds(0.75, 0.25);  // inverted: the same step, at the lower bound
  ASSERT_EQ(rig.Process(), XIP_OK);
  for (UINT x = 0; x < 256; ++x) ASSERT_EQ(destination.GetUnit(x, 0, 2), x <= 191 ? 0u : 255u) << x;
}

TEST(LutTest, BoundsThatAreNotNumbersGiveTheTopColour) {
  xelfw::Image source = EveryGreyValue();
  xelfw::Image destination(256, 1, xelfw::PixelLayout::Colour(16, 3));
  Rig rig;
  rig.SelectProfile(kProfileGreyWedge);
  rig.SetBounds(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN());
  rig.SetImages(&source, &destination);
  ASSERT_EQ(rig.Process(), XIP_OK);
  for (UINT x = 0; x < 256; ++x) ASSERT_EQ(destination.GetUnit(x, 0, 1), 0xFFFFu) << x;
}

TEST(LutTest, InfiniteHugeAndOutOfRangeBoundsGiveDefinedColours) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  xelfw::Image source = EveryGreyValue();
  xelfw::Image destination(256, 1, xelfw::PixelLayout::Colour(16, 3));
  Rig rig;
  rig.SelectProfile(kProfileGreyWedge);
  rig.SetImages(&source, &destination);
  const auto greenAt = [&](double lower, double upper, UINT x) {
    rig.SetBounds(lower, upper);
    EXPECT_EQ(rig.Process(), XIP_OK);
    return destination.GetUnit(x, 0, 1);
  };
  // -inf .. inf: the position is inf / inf, not a number, so the top colour.
  EXPECT_EQ(greenAt(-kInf, kInf, 0), 0xFFFFu);
  // Every grey value lies at or below an infinite lower bound: the first colour.
  EXPECT_EQ(greenAt(kInf, kInf, 255), 0u);
  // A window wider than a double can hold divides by infinity: position 0 everywhere.
  EXPECT_EQ(greenAt(-1e308, 1e308, 255), 0u);
  // -1 .. 2: grey 0 and the top grey lie a third and two thirds into the window.
  EXPECT_EQ(greenAt(-1.0, 2.0, 0), 21845u);
  EXPECT_EQ(greenAt(-1.0, 2.0, 255), 43690u);
}

}  // namespace
