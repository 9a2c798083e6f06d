// Reading the calibration options.
#include <xelhost/CalibrationFile.h>
#include <xelhost/calibration_option.h>

#include <xelhost/errors.h>
#include <xelhost/plugin_objects.h>

#include <cstdio>
#include <mutex>

namespace xelhost {

std::string LinearUnitNotice() {
  return "the window is in the linear default unit (the settings' UnitMin..UnitMax over the grey range, "
         "20 to 200 \xC2\xB0"
         "C unless changed), not a calibrated temperature: give --ini CALIB.ini for one";
}

std::optional<xelfw::TemperatureCalibration> ReadCalibrationOption(const Arguments& args,
                                                                   const xelfw::PluginLibrary& library) {
  const auto file = args.Value(kCalibrationOption.name);
  const auto epsilonText = args.Value(kEpsilonOption.name);
  if (args.Has("range") && !file) {
    // Every command reads its calibration once, but a notice printed twice would read as two problems.
    static std::once_flag told;
    std::call_once(told, [] { std::fprintf(stderr, "--range: %s\n", LinearUnitNotice().c_str()); });
  }
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
