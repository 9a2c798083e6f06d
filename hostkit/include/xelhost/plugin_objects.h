// The plug-in's two objects as xelimg drives them: one class per object, each on its own host set-up.
#pragma once

#include <XelPseudoColor/SettingsRecord.h>
#include <xelhost/framework_types.h>

#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>
#include <xelfw/SettingsSection.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelhost/TemperatureMeter.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace xelhost {

inline constexpr UINT kPseudoColorType = XIP_OBJTYPE_PSEUDOCOLOR_LUT;
inline constexpr UINT kTemperatureType = XIP_OBJTYPE_TEMPERATURE_DISPLAY;

// The object's catalogue name, which also names its INI section.
std::string ObjectName(const xelfw::PluginLibrary& library, UINT type);

// Throws CommandError naming the operation and the plug-in's result code when it is not 0.
void CheckResult(UINT result, const std::string& what);

// The INI section of an object's settings, by the framework's rule.
using xelfw::SettingsSection;

// Parameter 17 of a temperature object, with a calibration the host has read.
using xelhost::ImportCalibration;

// Parameter 12 of a pseudo-colour object, for hosts that hold the object on a set-up of their own.
TPseudoColorSettings ReadPseudoColorSettings(CXelImgProcess_0& object);
void WritePseudoColorSettings(CXelImgProcess_0& object, const TPseudoColorSettings& settings);

class PseudoColorObject {
 public:
  PseudoColorObject(const xelfw::PluginLibrary& library, const xelfw::HostOptions& options);

  const std::string& Name() const { return m_Name; }
  // The object itself, for what goes beyond these calls (its dialogs).
  CXelImgProcess_0& Object() const { return m_Host.Object(); }
  // Its set-up, for hosts that drive frames and dialogs themselves (the viewer).
  xelfw::ProcessingHost& Host() { return m_Host; }
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

}  // namespace xelhost

namespace xelhost {

// The temperature object as every host drives it: the framework's meter.
using TemperatureReading = xelhost::TemperatureReading;
using TemperatureObject = xelhost::TemperatureMeter;

}  // namespace xelhost
