#include "hosted_dialog.h"

#include <gtest/gtest.h>
#include <xelfw/ScaleLabels.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace {

using xelfw::ChooseLabelStep;
using xelfw::TLabelStep;

struct StepCase {
  UINT pixels, spacing;
  int start;
  UINT range;
  int first;
  UINT step;
};

class ChooseLabelStepTest : public testing::TestWithParam<StepCase> {};

TEST_P(ChooseLabelStepTest, GivesRoundStepAndFirstMultiple) {
  const StepCase& c = GetParam();
  const TLabelStep result = ChooseLabelStep(c.pixels, c.spacing, c.start, c.range);
  EXPECT_EQ(result.first, c.first);
  EXPECT_EQ(result.step, c.step);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ChooseLabelStepTest,
    testing::Values(StepCase{380, 36, 200, 1800, 200, 200},  // 20.0 .. 200.0: ten labels
                    StepCase{380, 36, 213, 666, 300, 100},   // 21.3 .. 87.9: no label at the ends
                    StepCase{380, 36, 0, 110, 0, 10},        // raw exactly the base
                    StepCase{380, 36, 0, 300, 0, 40},        // the 4, not 2.5, multiplier
                    StepCase{380, 36, -55, 1000, 0, 100},    // below zero: the first multiple not below
                    StepCase{100, 36, 5, 1, 5, 1},           // fewer tenths than labels: one tenth apart
                    StepCase{720, 36, 5, 1, 5, 0},           // too narrow to label: no step, no fault
                    StepCase{100, 36, 5, 0, 5, 0}, StepCase{100, 0, 5, 1000, 10, 10}));  // no spacing asked for

TEST(ChooseLabelStepTest, TenLabelsFitTheExampleBar) {
  const TLabelStep labels = ChooseLabelStep(380, 36, 200, 1800);
  int count = 0;
  for (int v = labels.first; (v - 200) * 380 / 1800 <= 380; v += static_cast<int>(labels.step)) ++count;
  EXPECT_EQ(count, 10);
}

// The painted labels of the scale dialog, found as runs of dark rows in the column right of the bar.
class ScaleLabelsTest : public testing::Test {
 protected:
  static constexpr int kUnit = 7019, kColorBar = 0xFFFF;

  void SetUp() override {
    // A settings change hands the display unit to the converter: 20 .. 200 over the grey range.
    ASSERT_TRUE(scale.created);
    ASSERT_EQ(plugin_host::SetSettings(scale.host.object, plugin_host::GetSettings(scale.host.object)), XIP_OK);
    winui::PumpMessages();
  }

  int TextHeight() const {
    CClientDC dc(scale.dialog);
    dc.SelectStockObject(ANSI_FIXED_FONT);
    TEXTMETRIC metrics{};
    dc.GetTextMetrics(&metrics);
    return metrics.tmHeight;
  }

  // Label centres as offsets above the bar's bottom edge, lowest first, with the bar `inside`
  // pixels high within its frame.
  std::vector<int> LabelOffsets(int inside) const {
    CRect bar = scale.ScreenRect(kColorBar);
    scale.dialog->ScreenToClient(&bar);
    scale.Item(kColorBar)->MoveWindow(bar.left, bar.top, bar.Width(), inside + 2);
    scale.dialog->Invalidate(TRUE);
    const winui::Surface picture = winui::RenderWindow(scale.dialog->GetSafeHwnd());
    CRect window;
    scale.dialog->GetWindowRect(&window);
    const CRect barOnScreen = scale.ScreenRect(kColorBar);
    const int left = barOnScreen.right - window.left, right = scale.ScreenRect(kUnit).right - window.left;
    const int top = barOnScreen.top - window.top, bottom = barOnScreen.bottom - window.top;
    std::vector<int> offsets;
    int runStart = -1;
    for (int y = top - 10; y <= bottom + 10; ++y) {
      bool dark = false;
      for (int x = left; x < right; ++x) {
        const std::uint32_t p = picture.At(x, y);
        dark |= ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 300;
      }
      if (dark && runStart < 0) runStart = y;
      if (!dark && runStart >= 0) {
        offsets.push_back(bottom - (runStart + y - 1) / 2);
        runStart = -1;
      }
    }
    std::sort(offsets.begin(), offsets.end());
    return offsets;
  }

  // Each label within a few pixels of where it belongs: glyphs do not fill their text cell evenly.
  static void ExpectNear(const std::vector<int>& found, const std::vector<int>& expected) {
    ASSERT_EQ(found.size(), expected.size()) << testing::PrintToString(found);
    for (std::size_t i = 0; i < found.size(); ++i) EXPECT_LE(std::abs(found[i] - expected[i]), 3) << "label " << i;
  }

  hosted_dialog::HostedDialog scale{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 1};
};

TEST_F(ScaleLabelsTest, LabelsStandAtTheirValuesAtTwoBarHeights) {
  // The fixed font decides how close labels may come; 12 to 15 pixels all give a step of 20.0 on a
  // 380-pixel bar and of 40.0 on a 200-pixel one.
  const int th = TextHeight();
  ASSERT_GE(th, 12);
  ASSERT_LE(th, 15);
  // 20.0, 40.0, ... 200.0: (v - 20) * 380 / 180 pixels above the bottom edge.
  ExpectNear(LabelOffsets(380), {0, 42, 84, 126, 168, 211, 253, 295, 337, 380});
  // 40.0, 80.0, ... 200.0 on the shorter bar; no label at 20.0, which is no multiple of 40.
  ExpectNear(LabelOffsets(200), {22, 66, 111, 155, 200});
}

TEST_F(ScaleLabelsTest, ZeroWidthWindowLabelsBothEdges) {
  plugin_host::SetField(scale.host.object, plugin_host::kUnitMin, 35.0);
  plugin_host::SetField(scale.host.object, plugin_host::kUnitMax, 35.0);
  winui::PumpMessages();
  // "<= 35.0" on the bottom edge, "> 35.0" on the top edge of the frame.
  ExpectNear(LabelOffsets(380), {0, 382});
}

TEST_F(ScaleLabelsTest, BoundsTooLargeToTickLabelOnlyBothEdges) {
  // A host's settings record may carry any double; the ends are still labelled, as they print.
  for (double unitMax : {1.0e300, std::numeric_limits<double>::infinity()}) {
    plugin_host::SetField(scale.host.object, plugin_host::kUnitMax, unitMax);
    winui::PumpMessages();
    ExpectNear(LabelOffsets(380), {0, 382});
  }
}

TEST_F(ScaleLabelsTest, WindowNarrowerThanATenthLabelsOnlyBothEdges) {
  // Down to the smallest double apart, where a tenth's height in pixels is no longer a number.
  for (auto [unitMin, unitMax] : {std::pair{35.0, 35.05}, std::pair{35.0, std::nextafter(35.0, 36.0)},
                                  std::pair{0.0, std::numeric_limits<double>::denorm_min()}}) {
    plugin_host::SetField(scale.host.object, plugin_host::kUnitMin, unitMin);
    plugin_host::SetField(scale.host.object, plugin_host::kUnitMax, unitMax);
    winui::PumpMessages();
    ExpectNear(LabelOffsets(380), {0, 382});
  }
}

TEST_F(ScaleLabelsTest, BarWithoutInsideHeightGetsNoTicks) {
  // The user may shrink the legend until the bar is nothing but its frame.
  EXPECT_TRUE(LabelOffsets(0).empty());
}

}  // namespace
