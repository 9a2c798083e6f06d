// The plug-in's "Temperature display" object driven frame by frame, with the framework's statistics
// object for the mean grey value it converts: what every host that reports temperatures needs.
#pragma once

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelhost/AreaStatistics.h>
#include <xelhost/CalibrationFile.h>
#include <xelhost/framework_types.h>

#include <string>

namespace xelhost {

// One frame's reading: the mean grey value measured by the framework's statistics object, and the
// object's two log fields as it formats them.
struct TemperatureReading {
  double meanGrey = 0.0;
  std::string epsilon;      // "%.3lf"
  std::string temperature;  // "%.1lf" or "- N.A. -"
  std::string unit;         // the object's unit text, UTF-8
};

class XEL_HOST_API TemperatureMeter {
 public:
  // Throws PluginError when the library makes no temperature object.
  TemperatureMeter(const PluginLibrary& library, const HostOptions& options);
  ~TemperatureMeter();
  TemperatureMeter(const TemperatureMeter&) = delete;
  TemperatureMeter& operator=(const TemperatureMeter&) = delete;

  // The object's catalogue name, which is also its INI section.
  const std::string& Name() const { return m_Name; }
  // The object itself, for what goes beyond these calls (its dialogs).
  CXelImgProcess_0& Object() const { return m_Host.Object(); }
  // Parameter 17, mode 0, with a calibration the host has read (ReadCalibrationFile); throws
  // ResultError if the object refuses it.
  void ImportCalibration(const TemperatureCalibration& calibration);
  // frame: a single-frame greyscale image; aoi null: the whole image. Throws ResultError when the
  // object or the statistics object refuses the frame.
  TemperatureReading Measure(Image& frame, const Aoi* aoi);
  // The object's reading of an area whose statistics were measured in this frame: a rectangle is
  // the object's area of interest, so the object reads it; any other shape gets the reading the
  // object would give for its pixels (ShapeReading), through the calibration imported last.
  TemperatureReading MeasureArea(Image& frame, const MeasurementArea& area, const AreaStatistics& statistics);

 private:
  std::string LogField(bool headLine, UINT field) const;

  ProcessingHost m_Host;
  std::string m_Name;
  TemperatureCalibration m_Calibration;
  CXelImgProcess_0* m_pStatistics;
};

// The reading the object gives for a mean grey value (the statistics' meanGrey), its fields formatted
// as the object formats them: what it reads for a set of pixels it cannot be given as an area.
XEL_HOST_API TemperatureReading ShapeReading(const AreaStatistics& statistics,
                                             const TemperatureCalibration& calibration);

// The display unit's text as the object shows it, in UTF-8.
XEL_HOST_API std::string DisplayUnit(const TemperatureCalibration& calibration);

// The same for a temperature object a host holds on a set-up of its own; section: the object's name.
XEL_HOST_API void ImportCalibration(CXelImgProcess_0& object, const TemperatureCalibration& calibration,
                                    const std::string& section);

}  // namespace xelhost
