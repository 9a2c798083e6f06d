// The temperature object per frame, with the framework's statistics object for the mean grey value.
#include <xelfw/ResultError.h>
#include <xelfw/TextEncoding.h>
#include <xelhost/TemperatureMeter.h>
#include <xelhost/framework_types.h>

#include <XelImgProcess/XelStatistics.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <variant>

namespace xelhost {

namespace {

constexpr UINT kLogSelector = 0;
constexpr UINT kEpsilonField = 0;
constexpr UINT kTemperatureField = 1;

std::string ObjectName(const PluginLibrary& library) {
  const char* name = library.GetObjInfo(XIP_OBJTYPE_TEMPERATURE_DISPLAY, 0);
  return name != nullptr ? name : "Temperature display";
}

}  // namespace

TemperatureMeter::TemperatureMeter(const PluginLibrary& library, const HostOptions& options)
    : m_Host(library, XIP_OBJTYPE_TEMPERATURE_DISPLAY, options),
      m_Name(ObjectName(library)),
      m_pStatistics(m_Host.Record().CreateInstance(XIP_OBJTYPE_STATISTICS)) {
  if (m_pStatistics == nullptr) throw std::runtime_error("the framework makes no statistics object");
}

TemperatureMeter::~TemperatureMeter() { m_Host.Record().DeleteInstance(m_pStatistics); }

void ImportCalibration(CXelImgProcess_0& object, const TemperatureCalibration& calibration,
                       const std::string& section) {
  IniStore store;
  calibration.WriteTo(store, section);
  IniContext context(store, section);
  CheckResult(object.SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL), "calibration import");
}

void TemperatureMeter::ImportCalibration(const TemperatureCalibration& calibration) {
  xelhost::ImportCalibration(m_Host.Object(), calibration, m_Name);
  m_Calibration = calibration;
}

TemperatureReading ShapeReading(const AreaStatistics& statistics, const TemperatureCalibration& calibration) {
  // The object's own formats (its log fields) and its unit text as the record holds it.
  const TTemperatureSettings record = calibration.Record();
  TemperatureReading reading;
  reading.meanGrey = statistics.meanGrey;
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", record.Epsilon);
  reading.epsilon = text;
  if (statistics.temperature) {
    std::snprintf(text, sizeof text, "%.1f", *statistics.temperature);
    reading.temperature = text;
  } else {
    reading.temperature = "- N.A. -";
  }
  reading.unit = DisplayUnit(calibration);
  return reading;
}

std::string DisplayUnit(const TemperatureCalibration& calibration) {
  const TTemperatureSettings record = calibration.Record();
  return Cp1252ToUtf8(std::string(record.UnitDesc, strnlen(record.UnitDesc, sizeof record.UnitDesc)));
}

TemperatureReading TemperatureMeter::MeasureArea(Image& frame, const MeasurementArea& area,
                                                 const AreaStatistics& statistics) {
  if (!std::holds_alternative<RectangleShape>(area.shape)) return ShapeReading(statistics, m_Calibration);
  // The statistics' bounds are the rectangle's part inside the frame.
  const RectangleShape& r = statistics.bounds;
  const Aoi aoi = Aoi::FromSize(static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.width),
                                static_cast<LONG>(r.height));
  return Measure(frame, &aoi);
}

TemperatureReading TemperatureMeter::Measure(Image& frame, const Aoi* aoi) {
  m_Host.SetSource(&frame, aoi);
  CheckResult(m_Host.Process(), "temperature measurement");

  CXelImage_0* images[] = {&frame};
  m_pStatistics->SetImages(1, images);
  m_pStatistics->SetParam(XIP_STAT_PARAM_AOI, 0, reinterpret_cast<UINT_PTR>(static_cast<const CXelAoi_0*>(aoi)));
  CheckResult(m_pStatistics->Process(XIP_STAT_MODE_STATISTICS), "grey-value statistics");
  const auto* statistics =
      static_cast<const TStatisticsResult*>(m_pStatistics->GetSpecialData(XIP_STAT_DATA_STATISTICS));
  if (statistics == nullptr) throw std::runtime_error("the statistics object delivered no result");

  TemperatureReading reading;
  reading.meanGrey = statistics->MeanValue;
  reading.epsilon = LogField(false, kEpsilonField);
  reading.temperature = LogField(false, kTemperatureField);
  // The head line is "Temp. [unit]"; the unit is what stands between the brackets.
  const std::string head = LogField(true, kTemperatureField);
  const auto open = head.find('[');
  const auto close = head.rfind(']');
  if (open != std::string::npos && close != std::string::npos && close > open) {
    reading.unit = Cp1252ToUtf8(head.substr(open + 1, close - open - 1));
  }
  return reading;
}

std::string TemperatureMeter::LogField(bool headLine, UINT field) const {
  char buffer[128] = "";
  CXelImgProcess_0& object = m_Host.Object();
  const UINT length = headLine ? object.GetLogFieldHeadLine(buffer, sizeof buffer, kLogSelector, field)
                               : object.GetLogFieldContent(buffer, sizeof buffer, kLogSelector, field);
  return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

}  // namespace xelhost
