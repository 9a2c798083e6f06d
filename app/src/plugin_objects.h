// The plug-in's two objects as xelimg drives them: one class per object, each on its own host set-up.
#pragma once

#include <XelPseudoColor/SettingsRecord.h>

#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelfw/ProcessingHost.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace xelimg {

inline constexpr UINT kPseudoColorType = XIP_OBJTYPE_PSEUDOCOLOR_LUT;
inline constexpr UINT kTemperatureType = XIP_OBJTYPE_TEMPERATURE_DISPLAY;

// The object's catalogue name, which also names its INI section.
std::string ObjectName(const xelfw::PluginLibrary& library, UINT type);

// Throws CommandError naming the operation and the plug-in's result code when it is not 0.
void CheckResult(UINT result, const std::string& what);

// The INI section of an object's settings: the section named like the object (its catalogue name),
// or the only section of a file that has just one.
std::string SettingsSection(const xelfw::IniStore& store, const std::string& objectName);

// Parameter 17 of a temperature object, with a calibration the host has read; throws CommandError
// if the object refuses it.
void ImportCalibration(CXelImgProcess_0& object, const xelfw::TemperatureCalibration& calibration,
                       const std::string& section);

// Parameter 12 of a pseudo-colour object, for hosts that hold the object on a set-up of their own.
TPseudoColorSettings ReadPseudoColorSettings(CXelImgProcess_0& object);
void WritePseudoColorSettings(CXelImgProcess_0& object, const TPseudoColorSettings& settings);

class PseudoColorObject {
 public:
  PseudoColorObject(const xelfw::PluginLibrary& library, const xelfw::HostOptions& options);

  const std::string& Name() const { return m_Name; }
  // The object itself, for what goes beyond these calls (its dialogs).
  CXelImgProcess_0& Object() const { return m_Host.Object(); }
  // Parameter 17, mode 0. Import returns false when the file did not hold every key (what was
  // there is applied all the same).
  bool ImportSettings(xelfw::IniStore& store);
  void ExportSettings(xelfw::IniStore& store);

  TPseudoColorSettings Settings() const;
  void SetSettings(const TPseudoColorSettings& settings);
  UINT SliderSteps() const;
  UINT ProfileCount() const;
  UINT Profile() const;
  void SelectProfile(UINT index);
  // The object's dialogs then show values through the calibration (see xelfw::UnitConverter).
  void SetUnitCalibration(std::optional<xelfw::TemperatureCalibration> calibration);

  // Every frame of the source into the same frame of the destination; afterFrame, when given, runs
  // after each frame's processing.
  void Process(const xelfw::Image& source, xelfw::Image& destination,
               const std::function<void(UINT frame)>& afterFrame = {});

 private:
  xelfw::ProcessingHost m_Host;
  std::string m_Name;
};

}  // namespace xelimg

namespace xelimg {

// One frame's reading: the mean grey value measured by the framework's statistics object, and the
// object's two log fields as it formats them.
struct TemperatureReading {
  double meanGrey = 0.0;
  std::string epsilon;      // "%.3lf"
  std::string temperature;  // "%.1lf" or "- N.A. -"
  std::string unit;         // the object's unit text, UTF-8
};

class TemperatureObject {
 public:
  TemperatureObject(const xelfw::PluginLibrary& library, const xelfw::HostOptions& options);
  ~TemperatureObject();
  TemperatureObject(const TemperatureObject&) = delete;
  TemperatureObject& operator=(const TemperatureObject&) = delete;

  const std::string& Name() const { return m_Name; }
  // The object itself, for what goes beyond these calls (its dialogs).
  CXelImgProcess_0& Object() const { return m_Host.Object(); }
  // Parameter 17, mode 0, with a calibration the host has read; throws CommandError if the object
  // refuses it.
  void ImportCalibration(const xelfw::TemperatureCalibration& calibration);
  // frame: a single-frame greyscale image; aoi null: the whole image.
  TemperatureReading Measure(xelfw::Image& frame, const xelfw::Aoi* aoi);

 private:
  std::string LogField(bool headLine, UINT field);

  xelfw::ProcessingHost m_Host;
  std::string m_Name;
  CXelImgProcess_0* m_pStatistics;
};

}  // namespace xelimg
