// The plug-in's side of the settings record: its defaults, from the key table beside the record.
#pragma once

#include <XelPseudoColor/SettingsRecord.h>

inline constexpr UINT kDefaultSliderSteps =
    static_cast<UINT>(PseudoColorKeyOfKind(EPseudoColorKeyKind::SliderSteps).defaultValue);

// Writes the defaults. Only the default text's bytes (with its NUL) of UnitDesc and none of the gaps
// are written, so a record compared byte for byte keeps whatever the rest held.
void ResetSettings(TPseudoColorSettings& settings);
