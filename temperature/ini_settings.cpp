#include "temperature/CXelTemperatureDisplayClass.h"

#include <cstdio>

// The calibration is read but never written back: a saved file carries only the conversion settings, and
// loading it again gives the default line unless calibration points are added to it by hand.
void CXelTemperatureDisplayClass::ExportSettings(UINT_PTR context) {
  for (const TTemperatureKey& key : kTemperatureKeys) {
    if (key.number != nullptr)
      ExportIniData(context, key.name, &(Settings.*key.number), 1, INI_DATA_DOUBLE);
    else
      ExportIniData(context, key.name, Settings.UnitDesc, 0, INI_DATA_STRING);
  }
}

BOOL CXelTemperatureDisplayClass::ImportSettings(UINT_PTR context) {
  if (!ImportCalibration(context)) return FALSE;
  // Missing keys leave their defaults (the base stores them); the import still counts as complete.
  for (const TTemperatureKey& key : kTemperatureKeys) {
    if (key.number != nullptr) {
      ImportIniData(context, key.name, &(Settings.*key.number), &key.defaultValue, 1, INI_DATA_DOUBLE);
    } else {
      ImportIniData(context, key.name, Settings.UnitDesc, kDefaultTemperatureUnit, sizeof Settings.UnitDesc,
                    INI_DATA_STRING);
    }
  }
  return TRUE;
}

// Points are read up to the first missing index, so a gap ends the list. A fit that cannot give finite
// coefficients keeps the old ones: a broken calibration file must not turn a working display into noise.
BOOL CXelTemperatureDisplayClass::ImportCalibration(UINT_PTR context) {
  CCalibrationFit fit;
  for (UINT k = 0;; ++k) {
    char key[32];
    std::snprintf(key, sizeof key, "%s%u", kTemperaturePointKeyPrefix, k);
    static constexpr double kNoPoint[2] = {0.0, 0.0};
    double point[2] = {};
    if (!ImportIniData(context, key, point, kNoPoint, 2, INI_DATA_DOUBLE)) break;
    fit.AddPoint(point[0], point[1]);
  }

  const TCalibrationFitResult result = fit.Solve();
  if (result.status != ECalibrationFitStatus::Fitted) {
    Log("CXelTemperatureDisplayClass::ImportSettings: %s, calibration coefficients kept",
        DescribeCalibrationFitStatus(result.status));
    return FALSE;
  }
  Settings.a0 = result.coefficients.a0;
  Settings.a1 = result.coefficients.a1;
  Settings.a2 = result.coefficients.a2;
  LogDetail("Calculated coefficients: a0 = %lf, a1 = %lf, a2 = %lf", Settings.a0, Settings.a1, Settings.a2);
  return TRUE;
}
