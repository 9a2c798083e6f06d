// Least-squares calibration fit: sums in reading order, Cramer's rule with Sarrus's expansion.
#include <xelhost/framework_types.h>
#include "calibration_fit.h"

#include <algorithm>
#include <array>
#include <limits>
#include <cmath>
#include <set>

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

CalibrationFit Finite(CalibrationFit fit) {
  if (!std::isfinite(fit.a0) || !std::isfinite(fit.a1) || !std::isfinite(fit.a2)) {
    return {false, "the points give non-finite coefficients"};
  }
  fit.solved = true;
  return fit;
}

}  // namespace

CalibrationFit FitCalibrationPoints(const std::vector<CalibrationPoint>& points) {
  if (points.size() < 2) return {false, "fewer than two points"};
  double Sx = 0, Sx2 = 0, Sx3 = 0, Sx4 = 0, Sy = 0, Sxy = 0, Sx2y = 0;
  std::set<double> distinct;
  for (const auto& [x, y] : points) {
    const double x2 = x * x;
    const double x3 = x2 * x;
    const double x4 = x3 * x;
    Sx += x;
    Sx2 += x2;
    Sx3 += x3;
    Sx4 += x4;
    Sy += y;
    Sxy += x * y;
    Sx2y += x2 * y;
    distinct.insert(x);
  }

  CalibrationFit fit;
  if (points.size() == 2) {
    const auto [x0, y0] = points[0];
    const auto [x1, y1] = points[1];
    if (x1 == x0) return {false, "the two points have the same grey value"};
    fit.a2 = 0.0;
    fit.a1 = (y1 - y0) / (x1 - x0);
    fit.a0 = y1 - x1 * fit.a1;
    fit.condition = Condition(Matrix<2>{{{2.0, Sx}, {Sx, Sx2}}});
    return Finite(fit);
  }

  if (distinct.size() < 3) return {false, "a parabola needs at least three distinct grey values"};
  const double N = static_cast<double>(points.size());
  const double D = N * Sx2 * Sx4 + Sx * Sx3 * Sx2 + Sx2 * Sx * Sx3 - Sx2 * Sx2 * Sx2 - N * Sx3 * Sx3 - Sx * Sx * Sx4;
  if (D == 0.0) return {false, "the normal equations are singular"};
  fit.a2 = (Sxy * Sx * Sx2 + N * Sx2 * Sx2y + Sy * Sx * Sx3 - Sx2 * Sx2 * Sy - Sxy * Sx3 * N - Sx2y * Sx * Sx) / D;
  fit.a1 = (Sx2 * Sx * Sx2y + Sxy * N * Sx4 + Sy * Sx3 * Sx2 - Sxy * Sx2 * Sx2 - N * Sx2y * Sx3 - Sx4 * Sx * Sy) / D;
  fit.a0 = (Sx3 * Sxy * Sx2 + Sx2 * Sy * Sx4 + Sx3 * Sx * Sx2y - Sx2y * Sx2 * Sx2 - Sy * Sx3 * Sx3 - Sx4 * Sxy * Sx) / D;
  fit.condition = Condition(Matrix<3>{{{N, Sx, Sx2}, {Sx, Sx2, Sx3}, {Sx2, Sx3, Sx4}}});
  return Finite(fit);
}

}  // namespace xelhost
