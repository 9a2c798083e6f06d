// What the "Temperature" dialog sees of its owner: the emissivity and the formatted reading. The
// object is the one implementation.
#pragma once

#include <XelImgProcess/CXelImgProcess.h>

// What the "Temperature" dialog redraws on a refresh request (its dialog bits).
inline constexpr UINT kTempDisplayRefreshTemperature = 0x1;
inline constexpr UINT kTempDisplayRefreshEpsilon = 0x2;

class CTemperatureOwner : public CXelImgProcess {
 public:
  using CXelImgProcess::CXelImgProcess;

  // No range check here: the conversion refuses an emissivity outside (0, 1].
  virtual void SetEpsilon(double epsilon) = 0;
  virtual double GetEpsilon() const = 0;
  // "- N.A. -" without a valid reading; never writes more than size bytes.
  virtual void FormatTemperature(char* buffer, UINT size) const = 0;
};
