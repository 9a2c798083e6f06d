// Small operations the dialog calls on its owner.
#include "temperature/CXelTemperatureDisplayClass.h"

void CXelTemperatureDisplayClass::SetEpsilon(double epsilon) {
  Settings.Epsilon = epsilon;
  RefreshDialog(kTempDisplayRefreshTemperature | kTempDisplayRefreshEpsilon);
}

double CXelTemperatureDisplayClass::GetEpsilon() const { return Settings.Epsilon; }
