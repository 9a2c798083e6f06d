// The temperature display object's conversion settings, the keys it reads them from, the conversion of a
// grey value into the display unit and the least-squares fit of its calibration. Hosts that show the
// object's temperatures compile this same code, so their values agree with the object's to the last bit.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstring>
#include <optional>

struct TTemperatureSettings {
  double Epsilon;       // emissivity; the conversion accepts 0 < Epsilon <= 1
  double BgTempKelvin;  // temperature of the surroundings
  double a0;            // calibration polynomial: Kelvin = (a2 * g + a1) * g + a0
  double a1;
  double a2;
  double KelvinToUnitOfs;  // added to Kelvin before the factor
  double KelvinToUnitMult;
  char UnitDesc[32];  // NUL-terminated, code page 1252
};
static_assert(sizeof(TTemperatureSettings) == 88);
static_assert(offsetof(TTemperatureSettings, UnitDesc) == 56);

// The settings file's keys, one row each, in the order files are written; the defaults, the import
// and the export walk this table. The calibration points have keys of their own ("Point_k").
struct TTemperatureKey {
  const char* name;
  double TTemperatureSettings::*number;  // null: the unit text
  double defaultValue;
};

// 0xB0 is the degree sign in code page 1252, the encoding the host shows texts in.
inline constexpr char kDefaultTemperatureUnit[] = {'\xB0', 'C', '\0'};

inline constexpr TTemperatureKey kTemperatureKeys[] = {
    {"UnitDesc", nullptr, 0.0},
    {"Epsilon", &TTemperatureSettings::Epsilon, 1.0},
    {"BgTempKelvin", &TTemperatureSettings::BgTempKelvin, 293.15},
    {"KelvinToUnitOfs", &TTemperatureSettings::KelvinToUnitOfs, -273.15},
    {"KelvinToUnitMult", &TTemperatureSettings::KelvinToUnitMult, 1.0},
};

// A calibration point's key is this prefix and its index written as "%u": "Point_0", "Point_1", ...
// The list ends at the first missing index.
inline constexpr char kTemperaturePointKeyPrefix[] = "Point_";

// The default line maps grey 0 to 20 degrees Celsius and the top of the grey range to 200.
inline constexpr double kDefaultA0 = 293.15;
inline constexpr double kDefaultA1 = 180.0;
inline constexpr double kDefaultA2 = 0.0;

constexpr double TemperatureKeyDefault(double TTemperatureSettings::*number) {
  for (const TTemperatureKey& key : kTemperatureKeys)
    if (key.number == number) return key.defaultValue;
  return 0.0;
}

inline TTemperatureSettings DefaultTemperatureSettings() {
  TTemperatureSettings settings{};
  for (const TTemperatureKey& key : kTemperatureKeys)
    if (key.number != nullptr) settings.*key.number = key.defaultValue;
  settings.a0 = kDefaultA0;
  settings.a1 = kDefaultA1;
  settings.a2 = kDefaultA2;
  std::memcpy(settings.UnitDesc, kDefaultTemperatureUnit, sizeof kDefaultTemperatureUnit);
  return settings;
}

// The temperature in the display unit of a grey value divided by the number of grey levels. No value
// when the emissivity lies outside (0, 1], the radiation balance has no real solution, or the result is
// not a finite number.
inline std::optional<double> TemperatureOfNormalisedGrey(const TTemperatureSettings& settings, double g) {
  const double epsilon = settings.Epsilon;
  if (!(epsilon > 0.0) || epsilon > 1.0) return std::nullopt;
  const double apparent = (settings.a2 * g + settings.a1) * g + settings.a0;

  // The camera sees epsilon * T^4 from the surface plus (1 - epsilon) * B reflected from the surroundings.
  const double bg = settings.BgTempKelvin;
  const double b4 = (bg * bg) * (bg * bg);
  const double s4 = (apparent * apparent) * (apparent * apparent);
  const double t4 = b4 + (s4 - b4) / epsilon;
  if (t4 < 0.0) return std::nullopt;

  const double surface = std::pow(t4, 0.25);
  const double result = (surface + settings.KelvinToUnitOfs) * settings.KelvinToUnitMult;
  if (!std::isfinite(result)) return std::nullopt;
  return result;
}

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

// The sums of the normal equations: n, the powers of x up to the fourth, y, x*y and x^2*y.
struct TCalibrationSums {
  double n, Sx, Sx2, Sx3, Sx4, Sy, Sxy, Sx2y;
};

// Collects points (normalised grey value, Kelvin) in reading order. The sums are accumulated in that
// order on purpose: the result must not depend on anything but the points and the order the calibration
// file lists them in.
class CCalibrationFit {
 public:
  void AddPoint(double x, double y) {
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

  std::size_t GetNumPoints() const { return m_NumPoints; }
  TCalibrationSums Sums() const {
    return {static_cast<double>(m_NumPoints), m_Sx, m_Sx2, m_Sx3, m_Sx4, m_Sy, m_Sxy, m_Sx2y};
  }

  // No points give the default line, two the line through both, three or more the least-squares parabola.
  TCalibrationFitResult Solve() const {
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

 private:
  static TCalibrationFitResult Fitted(const TCalibrationCoefficients& c) {
    if (!std::isfinite(c.a0) || !std::isfinite(c.a1) || !std::isfinite(c.a2))
      return {ECalibrationFitStatus::NotFinite, {}};
    return {ECalibrationFitStatus::Fitted, c};
  }

  TCalibrationFitResult SolveLine() const {
    const double x0 = m_FirstX[0], y0 = m_FirstY[0];
    const double x1 = m_FirstX[1], y1 = m_FirstY[1];
    if (x1 == x0) return {ECalibrationFitStatus::EqualGreyValues, {}};
    TCalibrationCoefficients c{};
    c.a2 = 0.0;
    c.a1 = (y1 - y0) / (x1 - x0);
    c.a0 = y1 - x1 * c.a1;
    return Fitted(c);
  }

  // Cramer's rule on the normal equations, each determinant expanded by the rule of Sarrus. With fewer
  // than three distinct grey values the exact determinant is 0, but rounding can leave a tiny non-zero
  // value that would give enormous, meaningless coefficients; hence the count of distinct values rather
  // than a test of D.
  TCalibrationFitResult SolveParabola() const {
    if (!m_HasThirdDistinctX) return {ECalibrationFitStatus::TooFewDistinct, {}};
    const double N = static_cast<double>(m_NumPoints);
    const double Sx = m_Sx, Sx2 = m_Sx2, Sx3 = m_Sx3, Sx4 = m_Sx4;
    const double Sy = m_Sy, Sxy = m_Sxy, Sx2y = m_Sx2y;

    const double D = N * Sx2 * Sx4 + Sx * Sx3 * Sx2 + Sx2 * Sx * Sx3 - Sx2 * Sx2 * Sx2 - N * Sx3 * Sx3 - Sx * Sx * Sx4;
    if (D == 0.0) return {ECalibrationFitStatus::TooFewDistinct, {}};

    TCalibrationCoefficients c{};
    c.a2 = (Sxy * Sx * Sx2 + N * Sx2 * Sx2y + Sy * Sx * Sx3 - Sx2 * Sx2 * Sy - Sxy * Sx3 * N - Sx2y * Sx * Sx) / D;
    c.a1 = (Sx2 * Sx * Sx2y + Sxy * N * Sx4 + Sy * Sx3 * Sx2 - Sxy * Sx2 * Sx2 - N * Sx2y * Sx3 - Sx4 * Sx * Sy) / D;
    c.a0 =
        (Sx3 * Sxy * Sx2 + Sx2 * Sy * Sx4 + Sx3 * Sx * Sx2y - Sx2y * Sx2 * Sx2 - Sy * Sx3 * Sx3 - Sx4 * Sxy * Sx) / D;
    return Fitted(c);
  }

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

constexpr const char* DescribeCalibrationFitStatus(ECalibrationFitStatus status) {
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
