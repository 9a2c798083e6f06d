// The calibration goes in the way xelimg puts it in: the file's section, with --epsilon written over it.
#include "temperature.h"

#include <xelfw/SettingsSection.h>

#include <stdexcept>
#include <string>

namespace xelpy {

Thermometer::Thermometer(std::shared_ptr<const xelfw::PluginLibrary> library,
                         const std::optional<std::filesystem::path>& calibration, std::optional<double> epsilon)
    : m_Library(std::move(library)), m_Meter(*m_Library, xelfw::HostOptions{}) {
  xelfw::IniStore store = calibration ? xelfw::IniStore::Load(*calibration) : xelfw::IniStore();
  if (epsilon) {
    if (!(*epsilon > 0.0 && *epsilon <= 1.0)) {
      throw std::invalid_argument("epsilon must lie in (0, 1], got " + std::to_string(*epsilon));
    }
    store.SetDouble(xelfw::SettingsSection(store, m_Meter.Name()), "Epsilon", *epsilon);
  }
  if (!m_Meter.ImportSettings(store)) {
    throw std::invalid_argument((calibration ? calibration->string() : std::string("settings")) +
                                ": the calibration was refused (one Point_k, or points that fit no curve)");
  }
}

xelfw::TemperatureReading Thermometer::Measure(xelfw::Image& frame, const xelfw::Aoi* aoi) {
  const std::lock_guard lock(m_Mutex);
  return m_Meter.Measure(frame, aoi);
}

}  // namespace xelpy
