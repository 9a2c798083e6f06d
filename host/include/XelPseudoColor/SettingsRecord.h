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
  double AutoContrastMinWidth;
  BOOL AutoContrastMaxWidthEnable;
  UINT Gap76;  // alignment only; its content means nothing
  double AutoContrastMaxWidth;
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
static_assert(offsetof(TPseudoColorSettings, AutoContrastMinWidth) == 64);
static_assert(offsetof(TPseudoColorSettings, AutoContrastMaxWidthEnable) == 72);
static_assert(offsetof(TPseudoColorSettings, AutoContrastMaxWidth) == 80);
static_assert(offsetof(TPseudoColorSettings, UnitUseNormalization) == 88);
static_assert(offsetof(TPseudoColorSettings, AutoMode) == 92);
static_assert(offsetof(TPseudoColorSettings, UnitDesc) == 96);

// Values of AutoMode: the bounds follow every frame's histogram.
inline constexpr UINT kPseudoColorAutoContrast = 1;
inline constexpr UINT kPseudoColorAutoBrightness = 2;

// The settings file's keys, one row each, in the order files are written. Whatever reads or writes
// the keys (the defaults, INI import and export, a host's check of a file) walks this table.
enum class EPseudoColorKeyKind : UINT {
  Double,        // a double field of the record
  Flag,          // a BOOL field of the record; files hold 0 or 1
  AutoMode,      // the AutoMode field; a file without it may hold the older on/off key instead
  Text,          // UnitDesc, in the Windows-1252 code page
  SliderSteps,   // parameter 13, the range slider's steps, kept beside the record
  ProfileIndex,  // the current colour profile, kept beside the record
};

struct TPseudoColorKey {
  const char* name;
  EPseudoColorKeyKind kind;
  double TPseudoColorSettings::*number = nullptr;  // Double
  BOOL TPseudoColorSettings::*flag = nullptr;      // Flag
  double defaultValue = 0.0;                       // every kind but Text
  const char* defaultText = nullptr;               // Text
  const char* fallbackName = nullptr;              // AutoMode: the older key, non-zero for auto contrast
};

// Degree Celsius in Windows-1252.
inline constexpr char kPseudoColorDefaultUnit[] = {'\xB0', 'C', '\0'};

inline constexpr TPseudoColorKey kPseudoColorKeys[] = {
    {"Lower", EPseudoColorKeyKind::Double, &TPseudoColorSettings::Lower, nullptr, 0.0},
    {"Upper", EPseudoColorKeyKind::Double, &TPseudoColorSettings::Upper, nullptr, 1.0},
    {"UnitMin", EPseudoColorKeyKind::Double, &TPseudoColorSettings::UnitMin, nullptr, 20.0},
    {"UnitMax", EPseudoColorKeyKind::Double, &TPseudoColorSettings::UnitMax, nullptr, 200.0},
    {"AutoContrastMinLevel", EPseudoColorKeyKind::Double, &TPseudoColorSettings::AutoContrastMinLevel, nullptr, 0.02},
    {"AutoContrastMaxLevel", EPseudoColorKeyKind::Double, &TPseudoColorSettings::AutoContrastMaxLevel, nullptr, 0.98},
    {"AutoContrastDestRange", EPseudoColorKeyKind::Double, &TPseudoColorSettings::AutoContrastDestRange, nullptr, 1.0},
    {"AutoContrastMinWidthEnable", EPseudoColorKeyKind::Flag, nullptr,
     &TPseudoColorSettings::AutoContrastMinWidthEnable, 0.0},
    // "Cntrast": the spelling files have always used.
    {"AutoCntrastMinWidth", EPseudoColorKeyKind::Double, &TPseudoColorSettings::AutoContrastMinWidth, nullptr, 0.1},
    {"AutoContrastMaxWidthEnable", EPseudoColorKeyKind::Flag, nullptr,
     &TPseudoColorSettings::AutoContrastMaxWidthEnable, 0.0},
    {"AutoCntrastMaxWidth", EPseudoColorKeyKind::Double, &TPseudoColorSettings::AutoContrastMaxWidth, nullptr, 0.9},
    {"AutoMode", EPseudoColorKeyKind::AutoMode, nullptr, nullptr, 0.0, nullptr, "AutoContrastEnabled"},
    {"UnitUseNormalization", EPseudoColorKeyKind::Flag, nullptr, &TPseudoColorSettings::UnitUseNormalization, 1.0},
    {"UnitDesc", EPseudoColorKeyKind::Text, nullptr, nullptr, 0.0, kPseudoColorDefaultUnit},
    {"SliderSteps", EPseudoColorKeyKind::SliderSteps, nullptr, nullptr, 180.0},
    {"ColorProfileIndex", EPseudoColorKeyKind::ProfileIndex, nullptr, nullptr, 0.0},
};

// How a kind of key is stored in a file.
constexpr TINI_DATA_TYPE PseudoColorKeyIniType(EPseudoColorKeyKind kind) {
  switch (kind) {
    case EPseudoColorKeyKind::Double:
      return INI_DATA_DOUBLE;
    case EPseudoColorKeyKind::Text:
      return INI_DATA_STRING;
    default:
      return INI_DATA_INT32;
  }
}

// The row of the one key of a kind that lives beside the record (AutoMode, Text, SliderSteps, ProfileIndex).
constexpr const TPseudoColorKey& PseudoColorKeyOfKind(EPseudoColorKeyKind kind) {
  for (const TPseudoColorKey& key : kPseudoColorKeys)
    if (key.kind == kind) return key;
  return kPseudoColorKeys[0];
}
