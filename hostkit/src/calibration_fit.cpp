// The object's calibration fit, and how well its normal equations are conditioned.
#include "calibration_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace xelhost {

namespace {

template <std::size_t N>
using Matrix = std::array<std::array<double, N>, N>;

// Condition number (2-norm) of a symmetric positive semi-definite matrix: the ratio of its largest
// to its smallest eigenvalue, found by cyclic Jacobi rotations, which stay accurate where an explicit
// inverse would drown in cancellation.
template <std::size_t N>
double Condition(Matrix<N> m) {
  for (int sweep = 0; sweep < 50; ++sweep) {
    double off = 0.0;
    for (std::size_t p = 0; p < N; ++p)
      for (std::size_t q = p + 1; q < N; ++q) off += m[p][q] * m[p][q];
    if (off == 0.0) break;
    for (std::size_t p = 0; p < N; ++p) {
      for (std::size_t q = p + 1; q < N; ++q) {
        if (m[p][q] == 0.0) continue;
        const double theta = (m[q][q] - m[p][p]) / (2.0 * m[p][q]);
        const double t = std::copysign(1.0, theta) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
        const double c = 1.0 / std::sqrt(t * t + 1.0);
        const double s = t * c;
        for (std::size_t k = 0; k < N; ++k) {
          const double kp = m[k][p], kq = m[k][q];
          m[k][p] = c * kp - s * kq;
          m[k][q] = s * kp + c * kq;
        }
        for (std::size_t k = 0; k < N; ++k) {
          const double pk = m[p][k], qk = m[q][k];
          m[p][k] = c * pk - s * qk;
          m[q][k] = s * pk + c * qk;
        }
      }
    }
  }
  double smallest = m[0][0], largest = m[0][0];
  for (std::size_t i = 1; i < N; ++i) {
    smallest = std::min(smallest, m[i][i]);
    largest = std::max(largest, m[i][i]);
  }
  return smallest > 0.0 ? largest / smallest : std::numeric_limits<double>::infinity();
}

}  // namespace

CalibrationFit FitCalibrationPoints(const std::vector<CalibrationPoint>& points) {
  if (points.size() < 2) return {false, "fewer than two points"};
  CCalibrationFit objectFit;
  for (const auto& [grey, kelvin] : points) objectFit.AddPoint(grey, kelvin);
  const TCalibrationFitResult result = objectFit.Solve();
  if (result.status != ECalibrationFitStatus::Fitted) return {false, DescribeCalibrationFitStatus(result.status)};

  CalibrationFit fit{true, {}, result.coefficients.a0, result.coefficients.a1, result.coefficients.a2};
  const TCalibrationSums s = objectFit.Sums();
  fit.condition = points.size() == 2
                      ? Condition(Matrix<2>{{{s.n, s.Sx}, {s.Sx, s.Sx2}}})
                      : Condition(Matrix<3>{{{s.n, s.Sx, s.Sx2}, {s.Sx, s.Sx2, s.Sx3}, {s.Sx2, s.Sx3, s.Sx4}}});
  return fit;
}

}  // namespace xelhost
