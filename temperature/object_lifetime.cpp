// Construction and destruction of the temperature object.
#include "temperature/CXelTemperatureDisplayClass.h"

#include <winui/afxwin.h>

CXelTemperatureDisplayClass::CXelTemperatureDisplayClass(CXelImgProcessInstance_0* instance)
    : CTemperatureOwner(instance), Settings(DefaultTemperatureSettings()) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  Log("CXelTemperatureDisplayClass::CXelTemperatureDisplayClass");
  // A missing statistics object is not fatal here: every processing run reports it.
  pStatisticsObj = CreateInstance(XIP_OBJTYPE_STATISTICS);
  FillDialogData();
  m_pDialogData = &DialogData;
}

CXelTemperatureDisplayClass::~CXelTemperatureDisplayClass() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  Log("CXelTemperatureDisplayClass::~CXelTemperatureDisplayClass");
  if (pStatisticsObj != nullptr) DeleteInstance(pStatisticsObj);
  ShutDownDialogs();
}

_EXIP_OBJTYPE CXelTemperatureDisplayClass::GetObjType() const { return XIP_OBJTYPE_TEMPERATURE_DISPLAY; }
