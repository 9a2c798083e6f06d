// The least-squares fit of calibration points, in the temperature object's arithmetic, so that a
// host's temperatures agree with the object's to the last bit.
#pragma once

#include <xelhost/framework_types.h>
#include <xelfw/TemperatureCalibration.h>

#include <string>
#include <vector>

namespace xelhost {

struct CalibrationFit {
  bool solved = false;
  std::string problem;     // why not, when not solved
  double a0 = 0.0, a1 = 0.0, a2 = 0.0;
  double condition = 0.0;  // 2-norm condition number of the normal equations
};

// Two points: the line through them; three or more: the least-squares parabola.
CalibrationFit FitCalibrationPoints(const std::vector<CalibrationPoint>& points);

}  // namespace xelhost
