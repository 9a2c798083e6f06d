// "Temperature display" (type 97): measures the grey value inside the AOI and shows it as a temperature.
#pragma once

#include "temperature/temperature_settings.h"

#include <XelImgProcess/CXelImgProcess.h>

#include <string>

class CXelTemperatureDisplayClass : public CXelImgProcess {
 public:
  explicit CXelTemperatureDisplayClass(CXelImgProcessInstance_0* instance);
  ~CXelTemperatureDisplayClass() override;

  CXelTemperatureDisplayClass(const CXelTemperatureDisplayClass&) = delete;
  CXelTemperatureDisplayClass& operator=(const CXelTemperatureDisplayClass&) = delete;

  UINT GetObjType() override;

  // Used by the "Temperature" dialog.
  void SetEpsilon(double epsilon);
  double GetEpsilon() const;
  BOOL CalculateTemperature(double* result) const;
  void FormatTemperature(char* buffer, UINT size) const;

 private:
  CXelImgProcess_0* pStatisticsObj = nullptr;
  TTemperatureSettings Settings;
  double StatValue = 0.0;
  UINT NumGreyLevels = 0;
  std::string UserButtonText;
  std::string* UserButtonTextPtrs[1] = {&UserButtonText};
};
