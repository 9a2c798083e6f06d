// The 16 INI keys of the pseudo-colour object, through the host's INI helpers.
#include "pseudocolor/CXelPseudoColorClass.h"

namespace {

// Keys whose value is a plain double field of the settings, in the order they are written.
struct TDoubleKey {
  const char* key;
  double TPseudoColorSettings::*field;
};

constexpr TDoubleKey kWindowAndUnitKeys[] = {
    {"Lower", &TPseudoColorSettings::Lower},
    {"Upper", &TPseudoColorSettings::Upper},
    {"UnitMin", &TPseudoColorSettings::UnitMin},
    {"UnitMax", &TPseudoColorSettings::UnitMax},
    {"AutoContrastMinLevel", &TPseudoColorSettings::AutoContrastMinLevel},
    {"AutoContrastMaxLevel", &TPseudoColorSettings::AutoContrastMaxLevel},
    {"AutoContrastDestRange", &TPseudoColorSettings::AutoContrastDestRange},
};

UINT AsFlag(UINT value) { return value != 0 ? 1 : 0; }

}  // namespace

// Every key is read even after a failure, so an incomplete file still applies all it holds; the
// keys it lacks get their defaults.
BOOL CXelPseudoColorClass::ImportSettings(UINT_PTR context) {
  TPseudoColorSettings defaults{};
  ResetSettings(defaults);
  const UINT defaultOff = 0;
  const UINT defaultOn = 1;
  const UINT defaultSliderSteps = kDefaultSliderSteps;
  BOOL complete = TRUE;

  auto importDouble = [&](const char* key, double& target, const double& def) {
    complete &= ImportIniData(context, key, &target, &def, 1, INI_DATA_DOUBLE);
  };
  auto importInt = [&](const char* key, UINT& target, const UINT& def) {
    return ImportIniData(context, key, &target, &def, 1, INI_DATA_INT32);
  };

  for (const TDoubleKey& k : kWindowAndUnitKeys) importDouble(k.key, Settings.*k.field, defaults.*k.field);

  UINT minWidthEnable = 0;
  complete &= importInt("AutoContrastMinWidthEnable", minWidthEnable, defaultOff);
  Settings.AutoContrastMinWidthEnable = AsFlag(minWidthEnable);
  importDouble("AutoCntrastMinWidth", Settings.AutoCntrastMinWidth, defaults.AutoCntrastMinWidth);

  UINT maxWidthEnable = 0;
  complete &= importInt("AutoContrastMaxWidthEnable", maxWidthEnable, defaultOff);
  Settings.AutoContrastMaxWidthEnable = AsFlag(maxWidthEnable);
  importDouble("AutoCntrastMaxWidth", Settings.AutoCntrastMaxWidth, defaults.AutoCntrastMaxWidth);

  // Files from before the auto modes had only an on/off switch for continuous auto contrast.
  UINT autoMode = 0;
  if (importInt("AutoMode", autoMode, defaultOff)) {
    Settings.AutoMode = autoMode;
  } else {
    UINT autoContrastEnabled = 0;
    complete &= importInt("AutoContrastEnabled", autoContrastEnabled, defaultOff);
    Settings.AutoMode = autoContrastEnabled != 0 ? kPseudoColorAutoContrast : 0;
  }

  UINT useNormalization = 0;
  complete &= importInt("UnitUseNormalization", useNormalization, defaultOn);
  Settings.UnitUseNormalization = AsFlag(useNormalization);

  complete &= ImportIniData(context, "UnitDesc", Settings.UnitDesc, kDegreeCelsius, sizeof Settings.UnitDesc,
                            INI_DATA_STRING);
  complete &= importInt("SliderSteps", SliderSteps, defaultSliderSteps);

  // An index that names no profile counts as a key not read: a lookup through it would read past
  // the list.
  UINT profileIndex = 0;
  if (!importInt("ColorProfileIndex", profileIndex, defaultOff) || profileIndex >= ProfileList.GetNumProfiles()) {
    complete = FALSE;
    profileIndex = 0;
  }
  ProfileList.SetCurrentIndex(profileIndex);

  RefreshAfterSettingsChange();
  return complete;
}

void CXelPseudoColorClass::ExportSettings(UINT_PTR context) {
  auto exportDouble = [&](const char* key, const double& value) {
    ExportIniData(context, key, &value, 1, INI_DATA_DOUBLE);
  };
  auto exportInt = [&](const char* key, UINT value) { ExportIniData(context, key, &value, 1, INI_DATA_INT32); };

  for (const TDoubleKey& k : kWindowAndUnitKeys) exportDouble(k.key, Settings.*k.field);
  exportInt("AutoContrastMinWidthEnable", AsFlag(Settings.AutoContrastMinWidthEnable));
  exportDouble("AutoCntrastMinWidth", Settings.AutoCntrastMinWidth);
  exportInt("AutoContrastMaxWidthEnable", AsFlag(Settings.AutoContrastMaxWidthEnable));
  exportDouble("AutoCntrastMaxWidth", Settings.AutoCntrastMaxWidth);
  exportInt("AutoMode", Settings.AutoMode);
  exportInt("UnitUseNormalization", AsFlag(Settings.UnitUseNormalization));
  // The record's text may fill all 32 bytes without a NUL.
  char unit[sizeof Settings.UnitDesc + 1] = {};
  memcpy(unit, Settings.UnitDesc, sizeof Settings.UnitDesc);
  ExportIniData(context, "UnitDesc", unit, 0, INI_DATA_STRING);
  exportInt("SliderSteps", SliderSteps);
  exportInt("ColorProfileIndex", ProfileList.GetCurrentIndex());
}
