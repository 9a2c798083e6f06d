// The calibration and the areas go in through xelimg's own option checks.
#include "temperature.h"

#include "options.h"

#include <xelhost/area_option.h>
#include <xelhost/arguments.h>
#include <xelhost/calibration_option.h>
#include <xelhost/errors.h>
#include <xelhost/temperature_report.h>

#include <xelhost/AreaStatistics.h>
#include <xelhost/CalibrationFile.h>
#include <xelhost/line_profile.h>

#include <array>

namespace xelpy {

namespace {

xelfw::TemperatureCalibration ReadCalibration(const xelfw::PluginLibrary& library,
                                              const std::vector<std::string>& options) {
  constexpr std::array specs = {xelhost::kCalibrationOption, xelhost::kEpsilonOption};
  try {
    return xelhost::ReadCalibrationOption(OptionArguments(options, specs), library)
        .value_or(xelfw::TemperatureCalibration{});
  } catch (const xelhost::CommandError& error) {
    // A refused file is a bad argument to Python, not a failed run.
    throw xelhost::CalibrationError(error.what());
  }
}

}  // namespace

Thermometer::Thermometer(std::shared_ptr<const xelfw::PluginLibrary> library, const std::vector<std::string>& options)
    : m_Library(std::move(library)),
      m_Meter(*m_Library, xelfw::HostOptions{}),
      m_Calibration(ReadCalibration(*m_Library, options)) {
  m_Meter.ImportCalibration(m_Calibration);
}

std::vector<std::vector<xelhost::RecordField>> Thermometer::MeasureAreas(xelfw::Image& frame,
                                                                         const std::vector<std::string>& areas) {
  std::vector<std::string> options;
  for (const std::string& area : areas) options.insert(options.end(), {"--aoi", area});
  constexpr std::array specs = {xelhost::kAreaOption};
  const std::vector<xelhost::MeasurementArea> measured =
      xelhost::AreasOf(xelhost::ParseAreas(OptionArguments(options, specs)), frame);
  xelhost::CheckAreasInside(measured, frame);

  const std::vector<xelhost::AreaStatistics> statistics = xelhost::MeasureAreas(frame, measured, m_Calibration);
  std::vector<std::vector<xelhost::RecordField>> records;
  const std::lock_guard lock(m_Mutex);
  for (std::size_t i = 0; i < measured.size(); ++i) {
    const xelhost::TemperatureReading reading = m_Meter.MeasureArea(frame, measured[i], statistics[i]);
    records.push_back(xelhost::AreaRecord({measured[i], reading, statistics[i], false}));
  }
  return records;
}

std::vector<std::vector<xelhost::RecordField>> Thermometer::Line(const xelfw::Image& frame, long x1, long y1, long x2,
                                                                 long y2) const {
  // Through the text --line reads, so that Python's ends pass xelimg's checks.
  xelhost::ProfileLine line = xelhost::ParseLine(std::to_string(x1) + "," + std::to_string(y1) + "," +
                                                 std::to_string(x2) + "," + std::to_string(y2));
  line.name = "line1";
  xelhost::CheckLinesInside({line}, frame);
  const xelhost::LineProfile profile = xelhost::MeasureLine(frame, line, m_Calibration);
  const std::string unit = xelhost::DisplayUnit(m_Calibration);
  std::vector<std::vector<xelhost::RecordField>> records;
  for (const xelhost::LineSample& sample : profile.samples)
    records.push_back(xelhost::LineSampleRecord(profile, line, sample, unit));
  return records;
}

}  // namespace xelpy
