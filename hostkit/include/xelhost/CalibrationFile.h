// Calibration files read strictly by the host before the object sees them, so that no temperature
// is ever printed from a file that could not be read as its author meant it.
#pragma once

#include <xelfw/TemperatureCalibration.h>
#include <xelhost/framework_types.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace xelhost {

using xelfw::CalibrationPoint;
using xelfw::TemperatureCalibration;

// A calibration file that is refused; the message names the file and the line or the key.
class XEL_HOST_API CalibrationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Condition number (2-norm) of the fit's normal equations above which a calibration is refused: its
// coefficients would then be uncertain from about the sixth significant digit on, decided by rounding
// rather than by the points.
inline constexpr double kMaxCalibrationCondition = 1e10;

// Reads the calibration from the section named like the object, or from a file's only section, in
// the INI store's strict syntax (a section or a key given twice is refused); the keys, defaults and
// fit are the object's (XelPseudoColor/TemperatureRecord.h). Refused, with the line or key named: a
// Point_k value that is not two finite numbers separated by a comma, or that lies outside 0..1 (grey)
// or is not above 0 K; a gap in the numbering; a single point; a fit that is singular or worse
// conditioned than kMaxCalibrationCondition; a missing section or a key the object does not know;
// Epsilon outside (0, 1]; BgTempKelvin not a finite positive number; KelvinToUnitOfs not finite or
// KelvinToUnitMult not finite and positive; a UnitDesc that Windows-1252 cannot write in 31 bytes.
// UTF-8 (with or without a byte-order mark), Windows-1252, LF, CRLF and CR line ends are all read.
XEL_HOST_API TemperatureCalibration ParseCalibration(std::string_view bytes, const std::string& sourceName,
                                                     const std::string& section);
// Regular files of up to xelfw::IniStore::kMaxFileBytes only; a directory, device or FIFO is refused
// before a byte is read.
XEL_HOST_API TemperatureCalibration ReadCalibrationFile(const std::filesystem::path& file, const std::string& section);

}  // namespace xelhost
