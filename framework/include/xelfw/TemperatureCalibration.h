// A temperature calibration as the "Temperature display" object uses it, read strictly by the host
// before the object sees it, so that no temperature is ever printed from a file that could not be
// read as its author meant it.
#pragma once

#include <xelfw/IniStore.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace xelfw {

// A calibration file that is refused; the message names the file and the line or the key.
class XEL_HOST_API CalibrationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CalibrationPoint {
  double grey;    // normalised grey value: grey / 2^bits
  double kelvin;  // apparent temperature at that grey value
};

// The object's conversion: a least-squares polynomial a0 + a1·g + a2·g² gives the apparent
// temperature, the emissivity and the background correct it, and an offset and a factor turn Kelvin
// into the display unit. The defaults are the object's.
struct XEL_HOST_API TemperatureCalibration {
  double a0 = 293.15;
  double a1 = 180.0;
  double a2 = 0.0;
  double epsilon = 1.0;
  double bgTempKelvin = 293.15;
  double kelvinToUnitOfs = -273.15;
  double kelvinToUnitMult = 1.0;
  std::string unitDesc = "\xB0"
                         "C";  // Windows-1252, as the object keeps it
  std::vector<CalibrationPoint> points;  // empty: the default line

  // The temperature in the display unit of a normalised grey value, computed exactly as the object
  // computes it; nothing where the object shows "- N.A. -".
  std::optional<double> Temperature(double normalisedGrey) const;
  // The section the object imports: the points and the five keys, values written to read back exactly.
  void WriteTo(IniStore& store, const std::string& section) const;
};

// Condition number (2-norm) of the fit's normal equations above which a calibration is refused: its
// coefficients would then be uncertain from about the sixth significant digit on, decided by rounding
// rather than by the points.
inline constexpr double kMaxCalibrationCondition = 1e10;

// Reads the calibration from the section named like the object, or from a file's only section.
// Refused, with the line or key named: a Point_k value that is not two finite numbers separated by a
// comma, or that lies outside 0..1 (grey) or is not above 0 K; a gap or a duplicate in the numbering;
// a single point; a fit that is singular or worse conditioned than kMaxCalibrationCondition; a missing
// section or a key the object does not know; Epsilon outside (0, 1]; BgTempKelvin not a finite
// positive number; KelvinToUnitOfs not finite or KelvinToUnitMult not finite and positive; a UnitDesc
// that Windows-1252 cannot write in 31 bytes. UTF-8 (with or without a byte-order mark),
// Windows-1252, LF and CRLF are all read.
XEL_HOST_API TemperatureCalibration ParseCalibration(std::string_view bytes, const std::string& sourceName,
                                                     const std::string& section);
XEL_HOST_API TemperatureCalibration ReadCalibrationFile(const std::filesystem::path& file, const std::string& section);

}  // namespace xelfw
