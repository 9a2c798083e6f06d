// The INI keys of the pseudo-colour object, through the host's INI helpers, row by row of the key
// table beside the settings record.
#include "pseudocolor/CXelPseudoColorClass.h"

namespace {

UINT AsFlag(UINT value) { return value != 0 ? 1 : 0; }

}  // namespace

// Every key is read even after a failure, so an incomplete file still applies all it holds; the
// keys it lacks get their defaults.
BOOL CXelPseudoColorClass::ImportSettings(UINT_PTR context) {
  BOOL complete = TRUE;
  for (const TPseudoColorKey& key : kPseudoColorKeys) complete &= ImportKey(context, key);
  RefreshAfterSettingsChange();
  return complete;
}

void CXelPseudoColorClass::ExportSettings(UINT_PTR context) {
  for (const TPseudoColorKey& key : kPseudoColorKeys) ExportKey(context, key);
}

BOOL CXelPseudoColorClass::ImportKey(UINT_PTR context, const TPseudoColorKey& key) {
  const TINI_DATA_TYPE type = PseudoColorKeyIniType(key.kind);
  const UINT defaultInt = static_cast<UINT>(key.defaultValue);
  auto importInt = [&](const char* name, UINT& target) {
    return ImportIniData(context, name, &target, &defaultInt, 1, INI_DATA_INT32);
  };
  switch (key.kind) {
    case EPseudoColorKeyKind::Double:
      return ImportIniData(context, key.name, &(Settings.*key.number), &key.defaultValue, 1, type);
    case EPseudoColorKeyKind::Flag: {
      UINT value = 0;
      const BOOL read = importInt(key.name, value);
      Settings.*key.flag = static_cast<BOOL>(AsFlag(value));
      return read;
    }
    case EPseudoColorKeyKind::AutoMode: {
      // Files from before the auto modes had only an on/off switch for continuous auto contrast.
      UINT mode = 0;
      if (importInt(key.name, mode)) {
        Settings.AutoMode = mode;
        return TRUE;
      }
      UINT autoContrastEnabled = 0;
      const BOOL read = importInt(key.fallbackName, autoContrastEnabled);
      Settings.AutoMode = autoContrastEnabled != 0 ? kPseudoColorAutoContrast : 0;
      return read;
    }
    case EPseudoColorKeyKind::Text:
      return ImportIniData(context, key.name, Settings.UnitDesc, key.defaultText, sizeof Settings.UnitDesc, type);
    case EPseudoColorKeyKind::SliderSteps:
      return importInt(key.name, SliderSteps);
    case EPseudoColorKeyKind::ProfileIndex: {
      // An index that names no profile counts as a key not read: a lookup through it would read
      // past the list.
      UINT profileIndex = 0;
      BOOL read = importInt(key.name, profileIndex);
      if (!read || profileIndex >= ProfileList.GetNumProfiles()) {
        read = FALSE;
        profileIndex = 0;
      }
      ProfileList.SetCurrentIndex(profileIndex);
      return read;
    }
  }
  return FALSE;
}

void CXelPseudoColorClass::ExportKey(UINT_PTR context, const TPseudoColorKey& key) {
  auto exportInt = [&](UINT value) { ExportIniData(context, key.name, &value, 1, INI_DATA_INT32); };
  switch (key.kind) {
    case EPseudoColorKeyKind::Double:
      ExportIniData(context, key.name, &(Settings.*key.number), 1, INI_DATA_DOUBLE);
      return;
    case EPseudoColorKeyKind::Flag:
      exportInt(AsFlag(static_cast<UINT>(Settings.*key.flag)));
      return;
    case EPseudoColorKeyKind::AutoMode:
      exportInt(Settings.AutoMode);
      return;
    case EPseudoColorKeyKind::Text: {
      // The record's text may fill all 32 bytes without a NUL.
      char unit[sizeof Settings.UnitDesc + 1] = {};
      memcpy(unit, Settings.UnitDesc, sizeof Settings.UnitDesc);
      ExportIniData(context, key.name, unit, 0, INI_DATA_STRING);
      return;
    }
    case EPseudoColorKeyKind::SliderSteps:
      exportInt(SliderSteps);
      return;
    case EPseudoColorKeyKind::ProfileIndex:
      exportInt(ProfileList.GetCurrentIndex());
      return;
  }
}
