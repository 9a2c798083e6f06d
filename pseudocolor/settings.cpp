#include "pseudocolor/settings.h"

#include <cstring>

void ResetSettings(TPseudoColorSettings& settings) {
  for (const TPseudoColorKey& key : kPseudoColorKeys) {
    switch (key.kind) {
      case EPseudoColorKeyKind::Double:
        settings.*key.number = key.defaultValue;
        break;
      case EPseudoColorKeyKind::Flag:
        settings.*key.flag = static_cast<BOOL>(key.defaultValue);
        break;
      case EPseudoColorKeyKind::AutoMode:
        settings.AutoMode = static_cast<UINT>(key.defaultValue);
        break;
      case EPseudoColorKeyKind::Text:
        std::memcpy(settings.UnitDesc, key.defaultText, std::strlen(key.defaultText) + 1);
        break;
      case EPseudoColorKeyKind::SliderSteps:
      case EPseudoColorKeyKind::ProfileIndex:
        break;  // kept beside the record
    }
  }
}
