// The parameter interface of the pseudo-colour object: identifiers, limits and result codes.
#include "pseudocolor/CXelPseudoColorClass.h"

namespace {

constexpr UINT kParamSettings = XIP_PARAM_PSEUDOCOLOR_SETTINGS;
constexpr UINT kParamSliderSteps = 13;

}  // namespace

UINT CXelPseudoColorClass::GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize, UINT* maxSize) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  switch (id) {
    case kParamSettings:
      TParamLimits{0, 0xFFFFFFFF, sizeof(TPseudoColorSettings), sizeof(TPseudoColorSettings)}.Write(minValue, maxValue,
                                                                                                    minSize, maxSize);
      return XIP_OK;
    case kParamSliderSteps:
      TParamLimits{0, 0xFFFFFFFF, sizeof(UINT), sizeof(UINT)}.Write(minValue, maxValue, minSize, maxSize);
      return XIP_OK;
    case XIP_PARAM_INI:
      TParamLimits{0, 0xFFFFFFFF, XIP_INI_MODE_ALL, XIP_INI_MODE_PLACEMENT}.Write(minValue, maxValue, minSize, maxSize);
      return XIP_OK;
    case XIP_PARAM_SWITCH_ACTIVE:
    case XIP_PARAM_SWITCH_LOGGING:
      TParamLimits{0, 1, 0, 0xFFFFFFFF}.Write(minValue, maxValue, minSize, maxSize);
      return XIP_OK;
    case XIP_PARAM_OBJECT_INDEX:
      // The base has the last word here; a base that does not know the identifier leaves these alone.
      TParamLimits{0, ProfileList.GetNumProfiles() - 1, 0, 0}.Write(minValue, maxValue, minSize, maxSize);
      return CXelImgProcess::GetParamLimits(id, minValue, maxValue, minSize, maxSize);
    default:
      return CXelImgProcess::GetParamLimits(id, minValue, maxValue, minSize, maxSize);
  }
}

UINT CXelPseudoColorClass::SetParam(UINT id, UINT_PTR value, UINT_PTR size) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  switch (id) {
    case kParamSettings:
      return SetSettings(value, size);
    case kParamSliderSteps:
      return SetSliderSteps(value, size);
    case XIP_PARAM_INI:
      return SetIni(value, size);
    case XIP_PARAM_OBJECT_INDEX:
      return SetProfileIndex(value);
    default:
      return CXelImgProcess::SetParam(id, value, size);
  }
}

UINT CXelPseudoColorClass::GetParam(UINT id, UINT_PTR value, UINT_PTR extra) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  switch (id) {
    case kParamSettings:
      return CopyOut(&Settings, sizeof Settings, value, extra);
    case kParamSliderSteps:
      return CopyOut(&SliderSteps, sizeof SliderSteps, value, extra);
    case XIP_PARAM_PSEUDOCOLOR_AUTO_WINDOW:
      return CopyOut(&AutoWindow, sizeof AutoWindow, value, extra);
    case XIP_PARAM_INI:
      return GetIni(value, extra);
    case XIP_PARAM_USER_BUTTON_TEXT:
      return GetUserButtonText(value, extra);
    case XIP_PARAM_OBJECT_INDEX:
      return GetProfileIndex(value, extra);
    default:
      return CXelImgProcess::GetParam(id, value, extra);
  }
}

// A null record is the way hosts ask for the defaults.
UINT CXelPseudoColorClass::SetSettings(UINT_PTR value, UINT_PTR size) {
  if (value == 0) {
    ResetSettings(Settings);
  } else {
    if (size != sizeof Settings) return XIP_E_BADARG;
    memcpy(&Settings, reinterpret_cast<const void*>(value), sizeof Settings);
  }
  RefreshAfterSettingsChange();
  return XIP_OK;
}

UINT CXelPseudoColorClass::SetSliderSteps(UINT_PTR value, UINT_PTR size) {
  if (value == 0 || size != sizeof SliderSteps) return XIP_E_BADARG;
  memcpy(&SliderSteps, reinterpret_cast<const void*>(value), sizeof SliderSteps);
  UpdatePseudoColorDialog(kPseudoColorRefreshAll);
  UpdateTempScaleDialog(kTempScaleRefreshAll);
  return XIP_OK;
}

// The base reads its own keys first; in the full mode the object's keys follow, and only their
// completeness decides the result.
UINT CXelPseudoColorClass::SetIni(UINT_PTR context, UINT_PTR mode) {
  if (context == 0) return XIP_E_BADARG;
  const UINT baseResult = CXelImgProcess::SetParam(XIP_PARAM_INI, context, mode);
  if (mode != XIP_INI_MODE_ALL) return baseResult;
  return ImportSettings(context) ? XIP_OK : XIP_E_INCOMPLETE_IMPORT;
}

UINT CXelPseudoColorClass::SetProfileIndex(UINT_PTR index) {
  if (index >= ProfileList.GetNumProfiles()) return XIP_E_BADARG;
  ProfileList.SetCurrentIndex(static_cast<UINT>(index));
  Lut.Invalidate();
  return XIP_OK;
}

UINT CXelPseudoColorClass::GetIni(UINT_PTR context, UINT_PTR mode) {
  if (context == 0) return XIP_E_BADARG;
  // The export is written whatever the base's part reports: a half-written set of host keys should
  // not cost the user the object's own settings.
  CXelImgProcess::GetParam(XIP_PARAM_INI, context, mode);
  if (mode == XIP_INI_MODE_ALL) ExportSettings(context);
  return XIP_OK;
}

UINT CXelPseudoColorClass::GetUserButtonText(UINT_PTR index, UINT_PTR target) {
  if (target == 0 || index >= XIP_MAX_USER_BUTTONS) return XIP_E_BADARG;
  *reinterpret_cast<const char**>(target) = UserButtonTexts[index].c_str();
  return XIP_OK;
}

UINT CXelPseudoColorClass::GetProfileIndex(UINT_PTR target, UINT_PTR extra) {
  if (target != 0) *reinterpret_cast<UINT*>(target) = ProfileList.GetCurrentIndex();
  if (extra != 0) *reinterpret_cast<UINT*>(extra) = 0;
  return XIP_OK;
}

UINT CXelPseudoColorClass::CopyOut(const void* source, std::size_t bytes, UINT_PTR target, UINT_PTR size) {
  if (target == 0 || size != bytes) return XIP_E_BADARG;
  memcpy(reinterpret_cast<void*>(target), source, bytes);
  return XIP_OK;
}
