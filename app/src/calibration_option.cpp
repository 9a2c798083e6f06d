// Reading the calibration options.
#include "calibration_option.h"

#include "cli_error.h"
#include "plugin_objects.h"

namespace xelimg {

std::optional<xelfw::TemperatureCalibration> ReadCalibrationOption(const Arguments& args,
                                                                   const xelfw::PluginLibrary& library) {
  const auto file = args.Value(kCalibrationOption.name);
  const auto epsilonText = args.Value(kEpsilonOption.name);
  if (!file && !epsilonText) return std::nullopt;
  xelfw::TemperatureCalibration calibration;
  if (file) {
    try {
      calibration = xelfw::ReadCalibrationFile(*file, ObjectName(library, kTemperatureType));
    } catch (const xelfw::CalibrationError& error) {
      throw CommandError(error.what());
    }
  }
  if (epsilonText) {
    calibration.epsilon = ParseDoubleOption(kEpsilonOption.name, *epsilonText);
    if (!(calibration.epsilon > 0.0 && calibration.epsilon <= 1.0)) throw UsageError("--epsilon must lie in (0, 1]");
  }
  return calibration;
}

}  // namespace xelimg
