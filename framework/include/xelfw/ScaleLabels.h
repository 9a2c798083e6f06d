// Where the value labels of a scale go (a colour bar labelled in the display unit, in a dialog or a
// host's own legend): a round step and the first label, in tenths of the unit.
#pragma once

#include <winui/windef.h>

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace xelfw {

// First label value and the step between labels, both in tenths of the display unit.
struct TLabelStep {
  int first = 0;
  UINT step = 0;
};

// Chooses a round step (1, 2, 4, 5 or 10 times a power of ten) that spreads at most P / m + 1
// labels over `range` tenths starting at `start`. A step of 0 means the range is too narrow to label.
inline TLabelStep ChooseLabelStep(UINT pixels, UINT minSpacing, int start, UINT range) {
  if (minSpacing == 0) minSpacing = 1;
  const UINT count = pixels / minSpacing + 1;
  const double raw = static_cast<double>(range) / count;
  if (!(raw > 0.0)) return {start, 0};
  const int exponent = static_cast<int>(std::log(raw) / std::log(10.0));
  double power = 1.0, factor = 10.0;
  for (unsigned e = static_cast<unsigned>(std::abs(exponent)); e != 0; e >>= 1, factor *= factor)
    if (e & 1) power *= factor;
  const auto base = static_cast<UINT>(exponent < 0 ? 1.0 / power : power);
  // Below a tenth per label the labels would repeat one value: no usable step.
  if (base == 0) return {start, 0};
  UINT step = base;
  if (raw > base) {
    for (UINT multiplier : {2u, 4u, 5u, 10u}) {
      step = base * multiplier;
      if (step >= raw) break;
    }
  }
  int first = start / static_cast<int>(step) * static_cast<int>(step);
  if (first < start) first += static_cast<int>(step);
  return {first, step};
}

// The labels a scale from lowUnit to highUnit over `pixels` gets by the rule above, in tenths of the
// unit: multiples of the step that lie inside the window (to a millionth of a tenth), lowest first. Empty when the
// window is not rising, not finite, beyond ten million units or narrower than a tenth: only its ends can be shown.
inline std::vector<long long> ScaleLabelTenths(double lowUnit, double highUnit, UINT pixels, UINT minSpacing) {
  constexpr double kLargestTickedUnit = 1.0e7;
  const double tenths = (highUnit - lowUnit) * 10;
  if (!(std::fabs(lowUnit) <= kLargestTickedUnit && std::fabs(highUnit) <= kLargestTickedUnit && tenths >= 1.0) ||
      pixels == 0) {
    return {};
  }
  // A window's end read back through a conversion is a little off a round value (10.000000001): it
  // still gets its label.
  constexpr double kRounding = 1e-6;
  const double low = lowUnit * 10 - kRounding;
  const double high = highUnit * 10 + kRounding;
  const int start = static_cast<int>(std::ceil(low));
  const TLabelStep labels = ChooseLabelStep(pixels, minSpacing, start, static_cast<UINT>(tenths));
  std::vector<long long> values;
  for (long long v = labels.first; static_cast<double>(v) <= high; v += labels.step) {
    if (static_cast<double>(v) >= low) values.push_back(v);
    if (labels.step == 0) break;
  }
  return values;
}

}  // namespace xelfw
