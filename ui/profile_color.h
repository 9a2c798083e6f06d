// A profile's colour at a position as the user interface shows it: each channel scaled to 0..255
// and truncated, so the preview band and the slider's bar agree with each other pixel for pixel.
#pragma once

#include "profiles/CColorProfile_0.h"

#include <winui/windef.h>

inline COLORREF ProfileColorAt(const CColorProfile_0& profile, double t) {
  // A NaN position (a window whose width overflows) shows full intensity, as the LUT maps it; no
  // value may make the conversion to an integer undefined.
  const auto channel = [](double value) {
    if (!(value <= 1.0)) value = 1.0;
    if (value < 0.0) value = 0.0;
    return static_cast<COLORREF>(static_cast<int>(value * 255.0)) & 0xFFu;
  };
  return channel(profile.GetRed(t)) | channel(profile.GetGreen(t)) << 8 | channel(profile.GetBlue(t)) << 16;
}
