#include "temperature/CXelTemperatureDisplayClass.h"

namespace {

constexpr char kDialogHeadLine[] = "Temperature";
constexpr UINT kDialogPlaceAsLast = 2;
constexpr INT kDialogMenuPosition = 3;

}  // namespace

CXelTemperatureDisplayClass::CXelTemperatureDisplayClass(CXelImgProcessInstance_0* instance)
    : CXelImgProcess(instance), Settings(DefaultTemperatureSettings()) {
  if (m_pLogger != nullptr) m_pLogger->LogPrint("CXelTemperatureDisplayClass::CXelTemperatureDisplayClass");
  // A missing statistics object is not fatal here: every processing run reports it.
  pStatisticsObj = CreateInstance(XIP_OBJTYPE_STATISTICS);
  FillDialogData();
  m_pDialogData = &DialogData;
}

CXelTemperatureDisplayClass::~CXelTemperatureDisplayClass() {
  if (m_pLogger != nullptr) m_pLogger->LogPrint("CXelTemperatureDisplayClass::~CXelTemperatureDisplayClass");
  if (pStatisticsObj != nullptr) DeleteInstance(pStatisticsObj);
  ShutDownDialogs();
}

_EXIP_OBJTYPE CXelTemperatureDisplayClass::GetObjType() const { return XIP_OBJTYPE_TEMPERATURE_DISPLAY; }

void CXelTemperatureDisplayClass::FillDialogData() {
  DialogData.Flags = 0;
  DialogData.pDialog = nullptr;
  DialogData.DlgID = 0;
  DialogData.Visible = 0;
  DialogData.PlacementMode = kDialogPlaceAsLast;
  DialogData.HeadLine = kDialogHeadLine;
  DialogData.MenuText = kDialogHeadLine;
  DialogData.hIcon = nullptr;
  DialogData.hIconSmall = nullptr;
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
