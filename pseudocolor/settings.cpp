#include "pseudocolor/settings.h"

#include <cstring>

void ResetSettings(TPseudoColorSettings& settings) {
  settings.Lower = 0.0;
  settings.Upper = 1.0;
  settings.UnitMin = 20.0;
  settings.UnitMax = 200.0;
  settings.AutoContrastMinLevel = 0.02;
  settings.AutoContrastMaxLevel = 0.98;
  settings.AutoContrastDestRange = 1.0;
  settings.AutoContrastMinWidthEnable = 0;
  settings.AutoCntrastMinWidth = 0.1;
  settings.AutoContrastMaxWidthEnable = 0;
  settings.AutoCntrastMaxWidth = 0.9;
  settings.UnitUseNormalization = 1;
  settings.AutoMode = 0;
  std::memcpy(settings.UnitDesc, kDegreeCelsius, sizeof kDegreeCelsius);
}
