// "Temperature display" (type 97): measures the grey value inside the AOI and shows it as a temperature.
#pragma once

#include "temperature/settings.h"
#include "temperature/temperature_owner.h"

#include <XelImgProcess/CXelImgProcess.h>

#include <string>

class CXelTemperatureDisplayClass : public CTemperatureOwner {
 public:
  explicit CXelTemperatureDisplayClass(CXelImgProcessInstance_0* instance);
  ~CXelTemperatureDisplayClass() override;
  CXelTemperatureDisplayClass(const CXelTemperatureDisplayClass&) = delete;
  CXelTemperatureDisplayClass& operator=(const CXelTemperatureDisplayClass&) = delete;

  _EXIP_OBJTYPE GetObjType() const override;
  UINT GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize, UINT* maxSize) override;
  UINT SetParam(UINT id, UINT_PTR value, UINT_PTR size) override;
  UINT GetParam(UINT id, UINT_PTR value, UINT_PTR extra) override;
  UINT Process(UINT mode) override;
  UINT GetNumDialogs() override;
  UINT IsDialogTypeFlag(UINT dlgID) override;
  CXelImgProcessDlg* CreateDialogObject(UINT dlgID, HWND parent) override;
  UINT GetNumMaxLogFields(UINT selector) override;
  UINT GetNumSupportedLogFields(UINT selector) override;
  UINT GetMaxLogFieldWidth(UINT selector, UINT field) override;
  UINT GetLogFieldHeadLine(char* buffer, UINT size, UINT selector, UINT field) override;
  UINT GetLogFieldContent(char* buffer, UINT size, UINT selector, UINT field) override;

  // What the "Temperature" dialog may do (CTemperatureOwner).
  void SetEpsilon(double epsilon) override;
  double GetEpsilon() const override;
  void FormatTemperature(char* buffer, UINT size) const override;
  // The last measurement in the display unit; FALSE (result untouched) when there is no valid reading.
  BOOL CalculateTemperature(double* result) const;

 private:
  BOOL ImportSettings(UINT_PTR context);
  BOOL ImportCalibration(UINT_PTR context);
  void ExportSettings(UINT_PTR context);
  void RefreshDialog(UINT bits);
  void FillDialogData();
  // The dialog's icon in this library's resources; named beside the dialog catalogue in module/.
  static UINT DialogIconID();

  CXelImgProcess_0* pStatisticsObj = nullptr;
  TTemperatureSettings Settings;
  double StatValue = 0.0;
  UINT NumGreyLevels = 0;  // 0: no measurement
  std::string UserButtonText;
  std::string* UserButtonTextPtrs[1] = {&UserButtonText};
  _TXIP_DIALOG_DATA DialogData;
};
