// Least-squares fit of the calibration polynomial to calibration points (grey value, Kelvin).
#pragma once

#include <cstddef>

struct TCalibrationCoefficients {
  double a0;
  double a1;
  double a2;
};

enum class ECalibrationFitStatus {
  Fitted,
  OnePoint,         // a single point fixes neither slope nor curvature
  EqualGreyValues,  // two points share one grey value: no line through both
  TooFewDistinct,   // three or more points with fewer than three distinct grey values
  NotFinite,        // the points themselves (or the arithmetic) produced a non-finite coefficient
};

struct TCalibrationFitResult {
  ECalibrationFitStatus status;
  TCalibrationCoefficients coefficients;  // meaningful only when status is Fitted
};

// Collects points in reading order. The sums are accumulated in that order on purpose: the result must
// not depend on anything but the points and the order the calibration file lists them in.
class CCalibrationFit {
 public:
  void AddPoint(double x, double y);
  std::size_t GetNumPoints() const { return m_NumPoints; }

  // No points give the default line, two the line through both, three or more the least-squares parabola.
  TCalibrationFitResult Solve() const;

 private:
  TCalibrationFitResult SolveLine() const;
  TCalibrationFitResult SolveParabola() const;

  std::size_t m_NumPoints = 0;
  double m_FirstX[2] = {};
  double m_FirstY[2] = {};
  // The first two distinct grey values seen, and whether a third one turned up.
  double m_DistinctX[2] = {};
  std::size_t m_NumDistinctX = 0;
  bool m_HasThirdDistinctX = false;
  double m_Sx = 0.0, m_Sx2 = 0.0, m_Sx3 = 0.0, m_Sx4 = 0.0;
  double m_Sy = 0.0, m_Sxy = 0.0, m_Sx2y = 0.0;
};

const char* DescribeCalibrationFitStatus(ECalibrationFitStatus status);
