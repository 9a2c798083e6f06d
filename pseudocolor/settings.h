// The plug-in's side of the settings record: defaults and the constants its dialogs show.
#pragma once

#include <XelPseudoColor/SettingsRecord.h>

// Degree Celsius in the Windows-1252 code page, as the dialogs show it.
inline constexpr char kDegreeCelsius[] = "\xB0" "C";

inline constexpr UINT kDefaultSliderSteps = 180;

// Writes the defaults. Only the first three bytes of UnitDesc and none of the gaps are written, so a
// record compared byte for byte keeps whatever the rest held.
void ResetSettings(TPseudoColorSettings& settings);
