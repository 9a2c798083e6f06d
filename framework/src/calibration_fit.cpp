// Least-squares calibration fit: sums in reading order, Cramer's rule with Sarrus's expansion.
#include "calibration_fit.h"

#include <array>
#include <cmath>
#include <set>

namespace xelfw {

namespace {

template <std::size_t N>
using Matrix = std::array<std::array<double, N>, N>;

template <std::size_t N>
double NormOne(const Matrix<N>& m) {
  double largest = 0.0;
  for (std::size_t column = 0; column < N; ++column) {
    double sum = 0.0;
    for (std::size_t row = 0; row < N; ++row) sum += std::fabs(m[row][column]);
    largest = std::max(largest, sum);
  }
  return largest;
}

double Condition(const Matrix<2>& m) {
  const double det = m[0][0] * m[1][1] - m[0][1] * m[1][0];
  const Matrix<2> inverse = {{{m[1][1] / det, -m[0][1] / det}, {-m[1][0] / det, m[0][0] / det}}};
  return NormOne(m) * NormOne(inverse);
}

double Condition(const Matrix<3>& m) {
  Matrix<3> inverse{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      const std::size_t r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
      inverse[r][c] = m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
    }
  }
  const double det = m[0][0] * inverse[0][0] + m[0][1] * inverse[1][0] + m[0][2] * inverse[2][0];
  for (auto& row : inverse) {
    for (double& value : row) value /= det;
  }
  return NormOne(m) * NormOne(inverse);
}

CalibrationFit Finite(CalibrationFit fit) {
  if (!std::isfinite(fit.a0) || !std::isfinite(fit.a1) || !std::isfinite(fit.a2) || !std::isfinite(fit.condition)) {
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

}  // namespace xelfw
