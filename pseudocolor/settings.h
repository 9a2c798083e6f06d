// The pseudo-colour object's settings: one fixed 128-byte little-endian record that hosts exchange
// whole through parameter 12, so its layout is part of the interface.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <cstddef>

struct TPseudoColorSettings {
  double Lower;  // LUT window, as fractions of the source grey range
  double Upper;
  double UnitMin;  // display-unit values of grey 0 and of the largest grey value
  double UnitMax;
  double AutoContrastMinLevel;
  double AutoContrastMaxLevel;
  double AutoContrastDestRange;
  BOOL AutoContrastMinWidthEnable;
  UINT Gap60;  // alignment only; its content means nothing
  double AutoCntrastMinWidth;
  BOOL AutoContrastMaxWidthEnable;
  UINT Gap76;  // alignment only; its content means nothing
  double AutoCntrastMaxWidth;
  BOOL UnitUseNormalization;
  UINT AutoMode;  // 1 continuous auto contrast, 2 continuous auto brightness, anything else none
  char UnitDesc[32];
};

static_assert(sizeof(TPseudoColorSettings) == 128);
static_assert(offsetof(TPseudoColorSettings, Lower) == 0);
static_assert(offsetof(TPseudoColorSettings, Upper) == 8);
static_assert(offsetof(TPseudoColorSettings, UnitMin) == 16);
static_assert(offsetof(TPseudoColorSettings, UnitMax) == 24);
static_assert(offsetof(TPseudoColorSettings, AutoContrastMinLevel) == 32);
static_assert(offsetof(TPseudoColorSettings, AutoContrastMaxLevel) == 40);
static_assert(offsetof(TPseudoColorSettings, AutoContrastDestRange) == 48);
static_assert(offsetof(TPseudoColorSettings, AutoContrastMinWidthEnable) == 56);
static_assert(offsetof(TPseudoColorSettings, AutoCntrastMinWidth) == 64);
static_assert(offsetof(TPseudoColorSettings, AutoContrastMaxWidthEnable) == 72);
static_assert(offsetof(TPseudoColorSettings, AutoCntrastMaxWidth) == 80);
static_assert(offsetof(TPseudoColorSettings, UnitUseNormalization) == 88);
static_assert(offsetof(TPseudoColorSettings, AutoMode) == 92);
static_assert(offsetof(TPseudoColorSettings, UnitDesc) == 96);

inline constexpr UINT kPseudoColorAutoContrast = 1;
inline constexpr UINT kPseudoColorAutoBrightness = 2;

// Degree Celsius in the Windows-1252 code page, as the dialogs show it.
inline constexpr char kDegreeCelsius[] = "\xB0" "C";

inline constexpr UINT kDefaultSliderSteps = 180;

// Writes the defaults. Only the first three bytes of UnitDesc and none of the gaps are written, so a
// record compared byte for byte keeps whatever the rest held.
void ResetSettings(TPseudoColorSettings& settings);
