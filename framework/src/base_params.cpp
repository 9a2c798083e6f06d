// The parameters every processing object answers through its base: INI, captions, switches.
#include "base_state.h"

#include <string>

namespace {

UINT ButtonIndex(UINT_PTR word) { return static_cast<UINT>(word & 0xFFFF); }
UINT DialogID(UINT_PTR word) { return static_cast<UINT>((word >> 16) & 0xFFFF); }

std::string DialogKey(const char* name, UINT dlgID) { return std::string(name) + "_" + std::to_string(dlgID); }
std::string ButtonKey(UINT dlgID, UINT button) {
  return "HostUserButton_" + std::to_string(dlgID) + "_" + std::to_string(button);
}

}  // namespace

UINT CXelImgProcess::GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize, UINT* maxSize) {
  switch (id) {
    case XIP_PARAM_INI:
      TParamLimits{0, 0xFFFFFFFF, XIP_INI_MODE_ALL, XIP_INI_MODE_PLACEMENT}.Write(minValue, maxValue, minSize, maxSize);
      return XIP_OK;
    case XIP_PARAM_USER_BUTTON_TEXT:
      TParamLimits{0, 0xFFFFFFFF, 0, 0xFFFFFFFF}.Write(minValue, maxValue, minSize, maxSize);
      return XIP_OK;
    case XIP_PARAM_SWITCH_ACTIVE:
    case XIP_PARAM_SWITCH_LOGGING:
      TParamLimits{0, 1, 0, 0}.Write(minValue, maxValue, minSize, maxSize);
      return XIP_OK;
    case XIP_PARAM_OBJECT_INDEX:
      return XIP_OK;
    default:
      return XIP_E_BADARG;
  }
}

UINT CXelImgProcess::SetParam(UINT id, UINT_PTR value, UINT_PTR size) {
  switch (id) {
    case XIP_PARAM_INI:
      if (value == 0 || size > XIP_INI_MODE_PLACEMENT) return XIP_E_BADARG;
      return ImportHostKeys(value, static_cast<UINT>(size)) ? XIP_OK : XIP_E_INCOMPLETE_IMPORT;
    case XIP_PARAM_USER_BUTTON_TEXT: {
      _TXIP_DIALOG_DATA* data = GetDialogDataByDlgID(DialogID(size));
      const UINT button = ButtonIndex(size);
      if (value == 0 || data == nullptr || data->ppUserButtonTexts == nullptr || button >= data->NumUserButtons ||
          data->ppUserButtonTexts[button] == nullptr) {
        return XIP_E_BADARG;
      }
      *data->ppUserButtonTexts[button] = reinterpret_cast<const char*>(value);
      return XIP_OK;
    }
    case XIP_PARAM_SWITCH_ACTIVE:
      if (value > 1) return XIP_E_BADARG;
      m_pState->active = static_cast<BOOL>(value);
      return XIP_OK;
    case XIP_PARAM_SWITCH_LOGGING:
      if (value > 1) return XIP_E_BADARG;
      m_pState->logging = static_cast<BOOL>(value);
      m_pLogger = m_pState->logging ? m_pState->hostLogger : nullptr;
      return XIP_OK;
    default:
      return XIP_E_BADARG;
  }
}

UINT CXelImgProcess::GetParam(UINT id, UINT_PTR value, UINT_PTR extra) {
  switch (id) {
    case XIP_PARAM_INI:
      if (value == 0 || extra > XIP_INI_MODE_PLACEMENT) return XIP_E_BADARG;
      ExportHostKeys(value, static_cast<UINT>(extra));
      return XIP_OK;
    case XIP_PARAM_USER_BUTTON_TEXT: {
      _TXIP_DIALOG_DATA* data = GetDialogDataByDlgID(0);
      if (extra == 0 || data == nullptr || data->ppUserButtonTexts == nullptr || value >= data->NumUserButtons ||
          data->ppUserButtonTexts[value] == nullptr) {
        return XIP_E_BADARG;
      }
      *reinterpret_cast<const char**>(extra) = data->ppUserButtonTexts[value]->c_str();
      return XIP_OK;
    }
    case XIP_PARAM_SWITCH_ACTIVE:
    case XIP_PARAM_SWITCH_LOGGING:
      if (value == 0) return XIP_E_BADARG;
      *reinterpret_cast<UINT*>(value) = (id == XIP_PARAM_SWITCH_ACTIVE ? m_pState->active : m_pState->logging) ? 1 : 0;
      return XIP_OK;
    default:
      return XIP_E_BADARG;
  }
}

BOOL CXelImgProcess::ImportHostKeys(UINT_PTR context, UINT mode) {
  BOOL complete = TRUE;
  const UINT dialogs = m_pDialogData != nullptr ? GetNumDialogs() : 0;
  if (mode != XIP_INI_MODE_PLACEMENT) {
    const UINT on = 1;
    UINT active = 1;
    UINT logging = 1;
    complete &= ImportIniData(context, "HostActive", &active, &on, 1, INI_DATA_INT32);
    complete &= ImportIniData(context, "HostLogging", &logging, &on, 1, INI_DATA_INT32);
    CXelImgProcess::SetParam(XIP_PARAM_SWITCH_ACTIVE, active != 0, 0);
    CXelImgProcess::SetParam(XIP_PARAM_SWITCH_LOGGING, logging != 0, 0);
    for (UINT d = 0; d < dialogs; ++d) {
      const _TXIP_DIALOG_DATA& data = m_pDialogData[d];
      for (UINT b = 0; b < data.NumUserButtons && data.ppUserButtonTexts != nullptr; ++b) {
        if (data.ppUserButtonTexts[b] == nullptr) continue;
        char caption[256];
        complete &=
            ImportIniData(context, ButtonKey(data.DlgID, b).c_str(), caption, "", sizeof caption, INI_DATA_STRING);
        *data.ppUserButtonTexts[b] = caption;
      }
    }
  }
  if (mode != XIP_INI_MODE_HOST) {
    const RECT noPlacement{};
    const UINT hidden = 0;
    for (UINT d = 0; d < dialogs; ++d) {
      _TXIP_DIALOG_DATA& data = m_pDialogData[d];
      complete &= ImportIniData(context, DialogKey("HostDlgPlacement", data.DlgID).c_str(), &data.Placement,
                                &noPlacement, 4, INI_DATA_INT32);
      complete &= ImportIniData(context, DialogKey("HostDlgVisible", data.DlgID).c_str(), &data.Visible, &hidden, 1,
                                INI_DATA_INT32);
    }
  }
  return complete;
}

void CXelImgProcess::ExportHostKeys(UINT_PTR context, UINT mode) {
  const UINT dialogs = m_pDialogData != nullptr ? GetNumDialogs() : 0;
  if (mode != XIP_INI_MODE_PLACEMENT) {
    const UINT active = m_pState->active ? 1 : 0;
    const UINT logging = m_pState->logging ? 1 : 0;
    ExportIniData(context, "HostActive", &active, 1, INI_DATA_INT32);
    ExportIniData(context, "HostLogging", &logging, 1, INI_DATA_INT32);
    for (UINT d = 0; d < dialogs; ++d) {
      const _TXIP_DIALOG_DATA& data = m_pDialogData[d];
      for (UINT b = 0; b < data.NumUserButtons && data.ppUserButtonTexts != nullptr; ++b) {
        if (data.ppUserButtonTexts[b] == nullptr) continue;
        ExportIniData(context, ButtonKey(data.DlgID, b).c_str(), data.ppUserButtonTexts[b]->c_str(), 0,
                      INI_DATA_STRING);
      }
    }
  }
  if (mode != XIP_INI_MODE_HOST) {
    for (UINT d = 0; d < dialogs; ++d) {
      const _TXIP_DIALOG_DATA& data = m_pDialogData[d];
      ExportIniData(context, DialogKey("HostDlgPlacement", data.DlgID).c_str(), &data.Placement, 4, INI_DATA_INT32);
      ExportIniData(context, DialogKey("HostDlgVisible", data.DlgID).c_str(), &data.Visible, 1, INI_DATA_INT32);
    }
  }
}
