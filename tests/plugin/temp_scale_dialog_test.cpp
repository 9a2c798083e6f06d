#include "ui/label_step.h"

#include <gtest/gtest.h>

namespace {

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
                    StepCase{100, 36, 5, 0, 5, 0},
                    StepCase{100, 0, 5, 1000, 10, 10}));   // no spacing asked for

TEST(ChooseLabelStepTest, TenLabelsFitTheExampleBar) {
  const TLabelStep labels = ChooseLabelStep(380, 36, 200, 1800);
  int count = 0;
  for (int v = labels.first; (v - 200) * 380 / 1800 <= 380; v += static_cast<int>(labels.step)) ++count;
  EXPECT_EQ(count, 10);
}

}  // namespace
