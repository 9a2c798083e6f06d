// xelpseudocolor.Temperature: one temperature object with its calibration, measuring frame by frame
// through the host kit as `xelimg temperature` does.
#pragma once

#include <xelhost/TemperatureMeter.h>
#include <xelhost/area_record.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace xelpy {

class Thermometer {
 public:
  // options: xelimg temperature's --ini FILE and --epsilon E, or neither for the object's defaults.
  // Throws xelhost::CalibrationError for a file that is refused, xelhost::UsageError for an epsilon
  // outside (0, 1].
  Thermometer(std::shared_ptr<const xelfw::PluginLibrary> library, const std::vector<std::string>& options);

  // The calibration every reading of this object goes through, epsilon included.
  const xelfw::TemperatureCalibration& Calibration() const { return m_Calibration; }

  // One record per area, given as --aoi texts ([NAME=]SHAPE); none: the whole frame, named
  // "image". Throws xelhost::UsageError for an area xelimg refuses. Serialised: the object keeps the
  // last reading, so two threads must not measure at once. Needs no GIL.
  std::vector<std::vector<xelhost::RecordField>> MeasureAreas(xelfw::Image& frame,
                                                              const std::vector<std::string>& areas);
  // One record per sample of the line from pixel (x1, y1) to pixel (x2, y2), named "line1", as
  // `xelimg temperature --line X1,Y1,X2,Y2 --json` prints them. Throws xelhost::UsageError for a
  // line with no pixel in the frame. Needs no GIL.
  std::vector<std::vector<xelhost::RecordField>> Line(const xelfw::Image& frame, long x1, long y1, long x2,
                                                      long y2) const;

 private:
  std::shared_ptr<const xelfw::PluginLibrary> m_Library;  // outlives the meter's object
  xelhost::TemperatureMeter m_Meter;
  xelfw::TemperatureCalibration m_Calibration;
  std::mutex m_Mutex;
};

}  // namespace xelpy
