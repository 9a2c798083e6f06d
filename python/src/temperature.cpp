// The calibration goes in the way xelimg puts it in: read strictly, with epsilon written over it.
#include "temperature.h"

#include <xelhost/CalibrationFile.h>
#include <xelfw/TemperatureCalibration.h>

#include <stdexcept>
#include <string>

namespace xelpy {

Thermometer::Thermometer(std::shared_ptr<const xelfw::PluginLibrary> library,
                         const std::optional<std::filesystem::path>& calibration, std::optional<double> epsilon)
    : m_Library(std::move(library)), m_Meter(*m_Library, xelfw::HostOptions{}) {
  xelfw::TemperatureCalibration settings =
      calibration ? xelhost::ReadCalibrationFile(*calibration, m_Meter.Name()) : xelfw::TemperatureCalibration{};
  if (epsilon) {
    if (!(*epsilon > 0.0 && *epsilon <= 1.0)) {
      throw std::invalid_argument("epsilon must lie in (0, 1], got " + std::to_string(*epsilon));
    }
    settings.epsilon = *epsilon;
  }
  m_Meter.ImportCalibration(settings);
}

xelhost::TemperatureReading Thermometer::Measure(xelfw::Image& frame, const xelfw::Aoi* aoi) {
  const std::lock_guard lock(m_Mutex);
  return m_Meter.Measure(frame, aoi);
}

}  // namespace xelpy
