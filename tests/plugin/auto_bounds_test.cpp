// Continuous auto contrast and auto brightness, run by Process through the host's statistics object.
#include "pseudo_color_rig.h"

#include <XelPseudoColor/AutoWindow.h>

#include <cstdio>
#include <limits>

namespace {

using namespace pseudo_color_rig;

// An 8-bit source (256 bins) with `count` pixels at grey `value` and the rest at grey `rest`.
xelfw::Image Frame(UINT value, UINT count, UINT rest = 0, UINT pixels = 100) {
  xelfw::Image image(pixels, 1, xelfw::PixelLayout::Grey(8, 8));
  for (UINT x = 0; x < pixels; ++x) image.SetUnit(x, 0, 0, x < count ? value : rest);
  return image;
}

std::string Performed(const char* what, double lower, double upper) {
  char line[128];
  std::snprintf(line, sizeof line, "Performed auto %s (lower: %lf, upper: %lf)", what, lower, upper);
  return line;
}

class AutoBoundsTest : public testing::Test {
 protected:
  xelfw::Image destination{100, 1, xelfw::PixelLayout::Colour(8, 3)};
  Rig rig;

  void Run(xelfw::Image& source, UINT mode) {
    rig.SetField(kAutoMode, mode);
    rig.SetImages(&source, &destination);
    ASSERT_EQ(rig.Process(), XIP_OK);
  }
  UINT AutoWindow() {
    UINT outcome = 0xFFFFFFFF;
    EXPECT_EQ(
        rig.Object()->GetParam(XIP_PARAM_PSEUDOCOLOR_AUTO_WINDOW, reinterpret_cast<UINT_PTR>(&outcome), sizeof outcome),
        XIP_OK);
    return outcome;
  }
  void ExpectBounds(double lower, double upper) {
    EXPECT_DOUBLE_EQ(rig.Field<double>(kLower), lower);
    EXPECT_DOUBLE_EQ(rig.Field<double>(kUpper), upper);
  }
};

TEST_F(AutoBoundsTest, ContrastSpansThePercentiles) {
  xelfw::Image oneBin = Frame(100, 100);
  Run(oneBin, 1);
  ExpectBounds(100.0 / 256, 101.0 / 256);
  EXPECT_TRUE(rig.Logged(Performed("contrast", 100.0 / 256, 101.0 / 256)));

  // 2 % of 40 values is below one value: the lower percentile is the first bin.
  xelfw::Image few = Frame(100, 40, 100, 40);
  Run(few, 1);
  EXPECT_DOUBLE_EQ(rig.Field<double>(kLower), 0.0);
}

TEST_F(AutoBoundsTest, ContrastWidensAndKeepsTheMinimumWidth) {
  xelfw::Image spread = Frame(200, 50, 100);  // half at 100, half at 200
  rig.SetField(kAutoContrastDestRange, 0.5);  // each side grows by a quarter of the span
  Run(spread, 1);
  ExpectBounds(75.0 / 256, 226.0 / 256);

  xelfw::Image top = Frame(255, 100);
  rig.SetField(kAutoContrastDestRange, 1.0);
  rig.SetField(kAutoContrastMinWidthEnable, 1u);
  Run(top, 1);
  ExpectBounds(255.0 / 256 - 0.05, 1.0);
}

TEST_F(AutoBoundsTest, LevelsWidthsAndRangesThatAreNotNumbersOrInfiniteGiveDefinedBounds) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr std::size_t kMinWidthValue = 64;
  xelfw::Image oneBin = Frame(100, 100);
  for (std::size_t field : {std::size_t{kAutoContrastMinLevel}, kAutoContrastDestRange}) {
    Rig fresh;
    fresh.SetBounds(0.1, 0.3);
    fresh.SetField(field, kNaN);
    fresh.SetField(kAutoMode, 1u);
    fresh.SetImages(&oneBin, &destination);
    ASSERT_EQ(fresh.Process(), XIP_OK);
    EXPECT_TRUE(fresh.Logged("Error: could not perform auto contrast!")) << field;
    EXPECT_DOUBLE_EQ(fresh.Field<double>(kLower), 0.1) << field;
  }
  rig.SetField(kAutoContrastMinWidthEnable, 1u);
  rig.SetField(kMinWidthValue, kNaN);  // no width to grow to: the percentiles stay
  Run(oneBin, 1);
  ExpectBounds(100.0 / 256, 101.0 / 256);
  rig.SetField(kMinWidthValue, std::numeric_limits<double>::infinity());  // grows to the whole range
  Run(oneBin, 1);
  ExpectBounds(0.0, 1.0);
}

TEST_F(AutoBoundsTest, BrightnessCentresTheWindowItKeeps) {
  xelfw::Image oneBin = Frame(100, 100);
  rig.SetBounds(0.2, 0.6);
  Run(oneBin, 2);
  const double centre = 200.0 / 512;
  ExpectBounds(centre - 0.2, centre + 0.2);
  EXPECT_TRUE(rig.Logged(Performed("brightness", centre - 0.2, centre + 0.2)));

  xelfw::Image bright = Frame(250, 100);
  Run(bright, 2);  // the window would reach past 1 and moves back inside
  ExpectBounds(0.6, 1.0);
}

TEST_F(AutoBoundsTest, FailureKeepsTheBoundsAndTheFrame) {
  xelfw::Image source = Frame(100, 100);
  rig.SetBounds(0.1, 0.3);
  rig.SetField(kAutoContrastMinLevel, 0.99);  // above the upper level
  Run(source, 1);
  EXPECT_TRUE(rig.Logged("Error: could not perform auto contrast!"));
  ExpectBounds(0.1, 0.3);
  EXPECT_EQ(AutoWindow(), kPseudoColorAutoWindowNotFound);
  Run(source, 2);
  EXPECT_TRUE(rig.Logged("Error: could not perform auto contrast!"));
  ExpectBounds(0.1, 0.3);
  EXPECT_EQ(AutoWindow(), kPseudoColorAutoWindowNotFound);
}

TEST_F(AutoBoundsTest, TheHostReadsWhetherTheLastFrameFoundItsWindow) {
  EXPECT_EQ(AutoWindow(), kPseudoColorAutoWindowNone) << "before the first frame";
  xelfw::Image source = Frame(100, 100);
  Run(source, 1);
  EXPECT_EQ(AutoWindow(), kPseudoColorAutoWindowFound);
  Run(source, 0);
  EXPECT_EQ(AutoWindow(), kPseudoColorAutoWindowNone) << "no window asked for";
  UINT outcome = 0;
  EXPECT_EQ(rig.Object()->GetParam(XIP_PARAM_PSEUDOCOLOR_AUTO_WINDOW, reinterpret_cast<UINT_PTR>(&outcome), 8),
            XIP_E_BADARG)
      << "a size that is not the UINT's";
  EXPECT_EQ(rig.Object()->GetParam(XIP_PARAM_PSEUDOCOLOR_AUTO_WINDOW, 0, sizeof outcome), XIP_E_BADARG);
  EXPECT_EQ(rig.Object()->SetParam(XIP_PARAM_PSEUDOCOLOR_AUTO_WINDOW, 1, sizeof outcome), XIP_E_BADARG)
      << "the host reads it only";
}

TEST_F(AutoBoundsTest, ColourHistogramIsRefusedByName) {
  xelfw::Image colour(10, 1, xelfw::PixelLayout::Colour(8, 3));
  rig.SetField(kAutoMode, 1u);
  rig.SetImages(&colour, &destination);
  EXPECT_EQ(rig.Process(), XIP_E_FORMAT);
  EXPECT_TRUE(rig.Logged("CXelPseudoColorClass::CalculateAutoContrast: Only one histogram channel supported"));
  EXPECT_TRUE(rig.Logged("Error: could not perform auto contrast!"));
}

}  // namespace
