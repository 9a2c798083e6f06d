#include "temperature/CXelTemperatureDisplayClass.h"

#include <winui/afxwin.h>
#include <winui/winuser.h>

namespace {

constexpr char kDialogHeadLine[] = "Temperature";
constexpr UINT kThermometerIcon = 7003;
constexpr UINT kDialogPlaceAsLast = 2;
constexpr INT kDialogMenuPosition = 3;

}  // namespace

CXelTemperatureDisplayClass::CXelTemperatureDisplayClass(CXelImgProcessInstance_0* instance)
    : CXelImgProcess(instance), Settings(DefaultTemperatureSettings()) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (m_pLogger != nullptr) m_pLogger->LogPrint("CXelTemperatureDisplayClass::CXelTemperatureDisplayClass");
  // A missing statistics object is not fatal here: every processing run reports it.
  pStatisticsObj = CreateInstance(XIP_OBJTYPE_STATISTICS);
  FillDialogData();
  m_pDialogData = &DialogData;
}

CXelTemperatureDisplayClass::~CXelTemperatureDisplayClass() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (m_pLogger != nullptr) m_pLogger->LogPrint("CXelTemperatureDisplayClass::~CXelTemperatureDisplayClass");
  if (pStatisticsObj != nullptr) DeleteInstance(pStatisticsObj);
  ShutDownDialogs();
}

_EXIP_OBJTYPE CXelTemperatureDisplayClass::GetObjType() const { return XIP_OBJTYPE_TEMPERATURE_DISPLAY; }

// Called with this module's state current, so the icon comes from this library's resources.
void CXelTemperatureDisplayClass::FillDialogData() {
  const HICON thermometer = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(kThermometerIcon));
  DialogData.Flags = 0;
  DialogData.pDialog = nullptr;
  DialogData.DlgID = 0;
  DialogData.Visible = 0;
  DialogData.PlacementMode = kDialogPlaceAsLast;
  DialogData.HeadLine = kDialogHeadLine;
  DialogData.MenuText = kDialogHeadLine;
  DialogData.hIcon = thermometer;
  DialogData.hIconSmall = thermometer;
  DialogData.NumUserButtons = 1;
  DialogData.ppUserButtonTexts = UserButtonTextPtrs;
  DialogData.UserButtonState = 0;
  DialogData.MenuPosition = kDialogMenuPosition;
}

void CXelTemperatureDisplayClass::SetEpsilon(double epsilon) {
  Settings.Epsilon = epsilon;
  RefreshDialog(kTempDisplayRefreshTemperature | kTempDisplayRefreshEpsilon);
}

double CXelTemperatureDisplayClass::GetEpsilon() const { return Settings.Epsilon; }
