// xelpseudocolor.Temperature: one temperature object with its calibration, measuring frame by frame.
#pragma once

#include <xelhost/TemperatureMeter.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

namespace xelpy {

class Thermometer {
 public:
  // calibration: an INI file as `xelimg temperature --ini` reads it, or none for the object's
  // defaults; epsilon overrides the file's. Throws xelfw::IniError for a file that cannot be read,
  // std::invalid_argument for an epsilon outside (0, 1] or a calibration the object refuses.
  Thermometer(std::shared_ptr<const xelfw::PluginLibrary> library,
              const std::optional<std::filesystem::path>& calibration, std::optional<double> epsilon);

  // Serialised: the object keeps the last reading, so two threads must not measure at once.
  // Needs no GIL.
  xelhost::TemperatureReading Measure(xelfw::Image& frame, const xelfw::Aoi* aoi);

 private:
  std::shared_ptr<const xelfw::PluginLibrary> m_Library;  // outlives the meter's object
  xelhost::TemperatureMeter m_Meter;
  std::mutex m_Mutex;
};

}  // namespace xelpy
