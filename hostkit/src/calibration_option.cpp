// Reading the calibration options.
#include <xelhost/CalibrationFile.h>
#include <xelhost/calibration_option.h>

#include <xelhost/errors.h>
#include <xelhost/plugin_objects.h>

namespace xelhost {

std::optional<xelfw::TemperatureCalibration> ReadCalibrationOption(const Arguments& args,
                                                                   const xelfw::PluginLibrary& library) {
  const auto file = args.Value(kCalibrationOption.name);
  const auto epsilonText = args.Value(kEpsilonOption.name);
  if (!file && !epsilonText) return std::nullopt;
  xelfw::TemperatureCalibration calibration;
  if (file) {
    try {
      calibration = xelhost::ReadCalibrationFile(*file, ObjectName(library, kTemperatureType));
    } catch (const xelhost::CalibrationError& error) {
      throw CommandError(error.what());
    }
  }
  if (epsilonText) {
    calibration.epsilon = ParseDoubleOption(kEpsilonOption.name, *epsilonText);
    if (!(calibration.epsilon > 0.0 && calibration.epsilon <= 1.0)) throw UsageError("--epsilon must lie in (0, 1]");
  }
  return calibration;
}

}  // namespace xelhost
