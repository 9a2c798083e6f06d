// Parameter and processing calls on the plug-in's objects, with their result codes checked.
#include <xelhost/plugin_objects.h>

#include <xelhost/errors.h>

#include <xelfw/ResultError.h>

namespace xelhost {

void CheckResult(UINT result, const std::string& what) {
  if (result != XIP_OK) throw CommandError(xelfw::ResultError(result, what).what());
}

std::string ObjectName(const xelfw::PluginLibrary& library, UINT type) {
  const char* name = library.GetObjInfo(type, 0);
  return name != nullptr ? name : "object " + std::to_string(type);
}

PseudoColorObject::PseudoColorObject(const xelfw::PluginLibrary& library, const xelfw::HostOptions& options)
    : m_Host(library, kPseudoColorType, options), m_Name(ObjectName(library, kPseudoColorType)) {}

bool PseudoColorObject::ImportSettings(xelfw::IniStore& store) {
  xelfw::IniContext context(store, SettingsSection(store, m_Name));
  const UINT result = m_Host.Object().SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL);
  if (result == XIP_E_INCOMPLETE_IMPORT) return false;
  CheckResult(result, "settings import");
  return true;
}

void PseudoColorObject::ExportSettings(xelfw::IniStore& store) {
  xelfw::IniContext context(store, m_Name);
  CheckResult(m_Host.Object().GetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL), "settings export");
}

TPseudoColorSettings ReadPseudoColorSettings(CXelImgProcess_0& object) {
  TPseudoColorSettings settings{};
  CheckResult(object.GetParam(XIP_PARAM_PSEUDOCOLOR_SETTINGS, reinterpret_cast<UINT_PTR>(&settings), sizeof settings),
              "reading settings");
  return settings;
}

void WritePseudoColorSettings(CXelImgProcess_0& object, const TPseudoColorSettings& settings) {
  CheckResult(object.SetParam(XIP_PARAM_PSEUDOCOLOR_SETTINGS, reinterpret_cast<UINT_PTR>(&settings), sizeof settings),
              "setting settings");
}

TPseudoColorSettings PseudoColorObject::Settings() const { return ReadPseudoColorSettings(m_Host.Object()); }

void PseudoColorObject::SetSettings(const TPseudoColorSettings& settings) {
  WritePseudoColorSettings(m_Host.Object(), settings);
}

UINT PseudoColorObject::SliderSteps() const {
  UINT steps = 0;
  CheckResult(m_Host.Object().GetParam(13, reinterpret_cast<UINT_PTR>(&steps), sizeof steps),
              "reading the slider steps");
  return steps;
}

UINT PseudoColorObject::ProfileCount() const {
  UINT lowest = 0;
  UINT highest = 0;
  CheckResult(m_Host.Object().GetParamLimits(XIP_PARAM_OBJECT_INDEX, &lowest, &highest, nullptr, nullptr),
              "reading the profile range");
  return highest + 1;
}

UINT PseudoColorObject::Profile() const {
  UINT index = 0;
  CheckResult(m_Host.Object().GetParam(XIP_PARAM_OBJECT_INDEX, reinterpret_cast<UINT_PTR>(&index), 0),
              "reading the profile");
  return index;
}

void PseudoColorObject::SelectProfile(UINT index) {
  CheckResult(m_Host.Object().SetParam(XIP_PARAM_OBJECT_INDEX, index, 0), "selecting profile " + std::to_string(index));
}

void PseudoColorObject::SetUnitCalibration(std::optional<xelfw::TemperatureCalibration> calibration) {
  m_Host.Record().SetUnitCalibration(std::move(calibration));
}

void PseudoColorObject::Process(const xelfw::Image& source, xelfw::Image& destination,
                                const std::function<void(UINT frame)>& afterFrame) {
  // The object reads the source through the image interface only; the interface is const-correct
  // for reading but takes a mutable pointer.
  auto* src = const_cast<xelfw::Image*>(&source);
  m_Host.SetSource(src);
  m_Host.SetDestination(&destination);
  for (UINT frame = 0; frame < source.Frames(); ++frame) {
    CheckResult(m_Host.Object().SetImageAccess(0, frame, XI_ACCESS_READ), "opening frame " + std::to_string(frame));
    CheckResult(m_Host.Object().SetImageAccess(1, frame, XI_ACCESS_WRITE),
                "opening the destination of frame " + std::to_string(frame));
    CheckResult(m_Host.Process(), "pseudo-colour processing of frame " + std::to_string(frame));
    if (afterFrame) afterFrame(frame);
  }
}

}  // namespace xelhost
