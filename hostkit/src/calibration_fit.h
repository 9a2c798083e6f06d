// The object's least-squares fit of calibration points, with the host's own measure of how far its
// coefficients can be trusted.
#pragma once

#include <xelfw/TemperatureCalibration.h>
#include <xelhost/framework_types.h>

#include <string>
#include <vector>

namespace xelhost {

struct CalibrationFit {
  bool solved = false;
  std::string problem;  // why not, when not solved
  double a0 = 0.0, a1 = 0.0, a2 = 0.0;
  double condition = 0.0;  // 2-norm condition number of the normal equations
};

// Two points: the line through them; three or more: the least-squares parabola; the coefficients are
// the object's to the last bit.
CalibrationFit FitCalibrationPoints(const std::vector<CalibrationPoint>& points);

}  // namespace xelhost
