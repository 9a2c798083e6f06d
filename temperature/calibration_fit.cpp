#include "temperature/calibration_fit.h"

#include "temperature/settings.h"

#include <cmath>

namespace {

bool AllFinite(const TCalibrationCoefficients& c) {
  return std::isfinite(c.a0) && std::isfinite(c.a1) && std::isfinite(c.a2);
}

TCalibrationFitResult Fitted(const TCalibrationCoefficients& c) {
  if (!AllFinite(c)) return {ECalibrationFitStatus::NotFinite, {}};
  return {ECalibrationFitStatus::Fitted, c};
}

}  // namespace

void CCalibrationFit::AddPoint(double x, double y) {
  if (m_NumPoints < 2) {
    m_FirstX[m_NumPoints] = x;
    m_FirstY[m_NumPoints] = y;
  }
  ++m_NumPoints;

  bool seen = false;
  for (std::size_t i = 0; i < m_NumDistinctX; ++i) seen = seen || m_DistinctX[i] == x;
  if (!seen) {
    if (m_NumDistinctX < 2)
      m_DistinctX[m_NumDistinctX++] = x;
    else
      m_HasThirdDistinctX = true;
  }

  const double x2 = x * x;
  const double x3 = x2 * x;
  const double x4 = x3 * x;
  m_Sx += x;
  m_Sx2 += x2;
  m_Sx3 += x3;
  m_Sx4 += x4;
  m_Sy += y;
  m_Sxy += x * y;
  m_Sx2y += x2 * y;
}

TCalibrationFitResult CCalibrationFit::Solve() const {
  switch (m_NumPoints) {
    case 0:
      return Fitted({kDefaultA0, kDefaultA1, kDefaultA2});
    case 1:
      return {ECalibrationFitStatus::OnePoint, {}};
    case 2:
      return SolveLine();
    default:
      return SolveParabola();
  }
}

TCalibrationFitResult CCalibrationFit::SolveLine() const {
  const double x0 = m_FirstX[0], y0 = m_FirstY[0];
  const double x1 = m_FirstX[1], y1 = m_FirstY[1];
  if (x1 == x0) return {ECalibrationFitStatus::EqualGreyValues, {}};
  TCalibrationCoefficients c{};
  c.a2 = 0.0;
  c.a1 = (y1 - y0) / (x1 - x0);
  c.a0 = y1 - x1 * c.a1;
  return Fitted(c);
}

// Cramer's rule on the normal equations, each determinant expanded by the rule of Sarrus. With fewer than
// three distinct grey values the exact determinant is 0, but rounding can leave a tiny non-zero value that
// would give enormous, meaningless coefficients; hence the count of distinct values rather than a test of D.
TCalibrationFitResult CCalibrationFit::SolveParabola() const {
  if (!m_HasThirdDistinctX) return {ECalibrationFitStatus::TooFewDistinct, {}};
  const double N = static_cast<double>(m_NumPoints);
  const double Sx = m_Sx, Sx2 = m_Sx2, Sx3 = m_Sx3, Sx4 = m_Sx4;
  const double Sy = m_Sy, Sxy = m_Sxy, Sx2y = m_Sx2y;

  const double D = N * Sx2 * Sx4 + Sx * Sx3 * Sx2 + Sx2 * Sx * Sx3 - Sx2 * Sx2 * Sx2 - N * Sx3 * Sx3 - Sx * Sx * Sx4;
  if (D == 0.0) return {ECalibrationFitStatus::TooFewDistinct, {}};

  TCalibrationCoefficients c{};
  c.a2 = (Sxy * Sx * Sx2 + N * Sx2 * Sx2y + Sy * Sx * Sx3 - Sx2 * Sx2 * Sy - Sxy * Sx3 * N - Sx2y * Sx * Sx) / D;
  c.a1 = (Sx2 * Sx * Sx2y + Sxy * N * Sx4 + Sy * Sx3 * Sx2 - Sxy * Sx2 * Sx2 - N * Sx2y * Sx3 - Sx4 * Sx * Sy) / D;
  c.a0 = (Sx3 * Sxy * Sx2 + Sx2 * Sy * Sx4 + Sx3 * Sx * Sx2y - Sx2y * Sx2 * Sx2 - Sy * Sx3 * Sx3 - Sx4 * Sxy * Sx) / D;
  return Fitted(c);
}

const char* DescribeCalibrationFitStatus(ECalibrationFitStatus status) {
  switch (status) {
    case ECalibrationFitStatus::Fitted:
      return "fitted";
    case ECalibrationFitStatus::OnePoint:
      return "one calibration point is not enough";
    case ECalibrationFitStatus::EqualGreyValues:
      return "the two calibration points have the same grey value";
    case ECalibrationFitStatus::TooFewDistinct:
      return "the calibration points have fewer than three distinct grey values";
    case ECalibrationFitStatus::NotFinite:
      return "the calibration points give non-finite coefficients";
  }
  return "unknown fit status";
}
