#include "temperature/CXelTemperatureDisplayClass.h"

#include <winui/afxwin.h>

UINT CXelTemperatureDisplayClass::GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize,
                                                 UINT* maxSize) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  switch (id) {
    case XIP_PARAM_INI:
      TParamLimits{0, 0xFFFFFFFF, 0, XIP_INI_MODE_PLACEMENT}.Write(minValue, maxValue, minSize, maxSize);
      return XIP_OK;
    case XIP_PARAM_SWITCH_ACTIVE:
    case XIP_PARAM_SWITCH_LOGGING:
      TParamLimits{0, 0, 0, 0xFFFFFFFF}.Write(minValue, maxValue, minSize, maxSize);
      return XIP_OK;
    default:
      return CXelImgProcess::GetParamLimits(id, minValue, maxValue, minSize, maxSize);
  }
}

UINT CXelTemperatureDisplayClass::SetParam(UINT id, UINT_PTR value, UINT_PTR size) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (id != XIP_PARAM_INI) return CXelImgProcess::SetParam(id, value, size);
  if (value == 0) return XIP_E_BADARG;
  // The host's own keys come first; the object's settings decide the result of a full import.
  const UINT hostResult = CXelImgProcess::SetParam(id, value, size);
  if (size != XIP_INI_MODE_ALL) return hostResult;
  return ImportSettings(value) ? XIP_OK : XIP_E_INCOMPLETE_IMPORT;
}

UINT CXelTemperatureDisplayClass::GetParam(UINT id, UINT_PTR value, UINT_PTR extra) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (id != XIP_PARAM_INI) return CXelImgProcess::GetParam(id, value, extra);
  if (value == 0) return XIP_E_BADARG;
  CXelImgProcess::GetParam(id, value, extra);
  if (extra == XIP_INI_MODE_ALL) ExportSettings(value);
  return XIP_OK;
}
