// The labels of a scale, as a legend beside a picture gets them: multiples of the dialog's step,
// inside the window.
#include <xelfw/ScaleLabels.h>

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

namespace {

TEST(ScaleLabelTenthsTest, MultiplesOfTheStepInsideTheWindow) {
  struct Case {
    double low, high;
    UINT pixels, spacing;
  };
  for (const Case c : {Case{20.0, 200.0, 200, 39}, Case{-3.25, 7.3, 150, 39}, Case{31.37, 31.91, 400, 39},
                       Case{0.05, 0.95, 60, 20}, Case{-40.0, -10.0, 240, 39}}) {
    SCOPED_TRACE(std::to_string(c.low) + ".." + std::to_string(c.high));
    const std::vector<long long> labels = xelfw::ScaleLabelTenths(c.low, c.high, c.pixels, c.spacing);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_LE(labels.size(), c.pixels / c.spacing + 1);
    const long long step = labels[1] - labels[0];
    const xelfw::TLabelStep chosen = xelfw::ChooseLabelStep(
        c.pixels, c.spacing, static_cast<int>(std::ceil(c.low * 10)), static_cast<UINT>((c.high - c.low) * 10));
    EXPECT_EQ(step, chosen.step);
    for (std::size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(labels[i] % step, 0);
      EXPECT_GE(labels[i], c.low * 10 - 1e-6);
      EXPECT_LE(labels[i], c.high * 10 + 1e-6);
      if (i > 0) {
        EXPECT_EQ(labels[i] - labels[i - 1], step);
      }
    }
    // No further multiple would fit at either end.
    EXPECT_LT(labels.front() - step, c.low * 10);
    EXPECT_GT(labels.back() + step, c.high * 10);
  }
  EXPECT_EQ(xelfw::ScaleLabelTenths(10.000000001, 59.99999999, 250, 39).front(), 100);
  EXPECT_EQ(xelfw::ScaleLabelTenths(10.000000001, 59.99999999, 250, 39).back(), 600);
  // 20 to 200 over 200 pixels, a label every 39 at most: steps of 40.
  EXPECT_EQ(xelfw::ScaleLabelTenths(20.0, 200.0, 200, 39), (std::vector<long long>{400, 800, 1200, 1600, 2000}));
}

TEST(ScaleLabelTenthsTest, WindowsThatCannotBeTickedGetNone) {
  EXPECT_TRUE(xelfw::ScaleLabelTenths(50.0, 50.0, 200, 39).empty());  // a threshold
  EXPECT_TRUE(xelfw::ScaleLabelTenths(80.0, 20.0, 200, 39).empty());  // falling
  EXPECT_TRUE(xelfw::ScaleLabelTenths(1.0, 1.05, 200, 39).empty());   // narrower than a tenth
  EXPECT_TRUE(xelfw::ScaleLabelTenths(0.0, 1e8, 200, 39).empty());    // beyond ten million
  EXPECT_TRUE(xelfw::ScaleLabelTenths(0.0, NAN, 200, 39).empty());
  EXPECT_TRUE(xelfw::ScaleLabelTenths(0.0, 100.0, 0, 39).empty());
}

}  // namespace
