// The pseudo-colour object's 128-byte settings record as it travels through parameter 12. A host
// knows the record by its published layout, not by the plug-in's headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace xelimg {

struct PseudoColorSettingsRecord {
  double Lower;
  double Upper;
  double UnitMin;
  double UnitMax;
  double AutoContrastMinLevel;
  double AutoContrastMaxLevel;
  double AutoContrastDestRange;
  std::int32_t AutoContrastMinWidthEnable;
  std::uint32_t Gap1;
  double AutoCntrastMinWidth;
  std::int32_t AutoContrastMaxWidthEnable;
  std::uint32_t Gap2;
  double AutoCntrastMaxWidth;
  std::int32_t UnitUseNormalization;
  std::uint32_t AutoMode;
  char UnitDesc[32];
};
static_assert(sizeof(PseudoColorSettingsRecord) == 128);
static_assert(offsetof(PseudoColorSettingsRecord, AutoContrastMinWidthEnable) == 56);
static_assert(offsetof(PseudoColorSettingsRecord, AutoCntrastMinWidth) == 64);
static_assert(offsetof(PseudoColorSettingsRecord, AutoContrastMaxWidthEnable) == 72);
static_assert(offsetof(PseudoColorSettingsRecord, AutoCntrastMaxWidth) == 80);
static_assert(offsetof(PseudoColorSettingsRecord, UnitUseNormalization) == 88);
static_assert(offsetof(PseudoColorSettingsRecord, AutoMode) == 92);
static_assert(offsetof(PseudoColorSettingsRecord, UnitDesc) == 96);

inline constexpr std::uint32_t kAutoModeNone = 0;
inline constexpr std::uint32_t kAutoModeContrast = 1;
inline constexpr std::uint32_t kAutoModeBrightness = 2;

}  // namespace xelimg
