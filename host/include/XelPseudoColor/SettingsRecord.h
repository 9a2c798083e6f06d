// The pseudo-colour object's settings: one fixed 128-byte little-endian record that hosts exchange
// whole through parameter 12. The layout is part of the plug-in's interface, so the plug-in and
// every host compile it from this one declaration.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <cstddef>

// The parameter that carries the record, by pointer with size 128, in GetParam and SetParam.
inline constexpr UINT XIP_PARAM_PSEUDOCOLOR_SETTINGS = 12;

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
  UINT AutoMode;  // kPseudoColorAutoContrast, kPseudoColorAutoBrightness, anything else none
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

// Values of AutoMode: the bounds follow every frame's histogram.
inline constexpr UINT kPseudoColorAutoContrast = 1;
inline constexpr UINT kPseudoColorAutoBrightness = 2;
