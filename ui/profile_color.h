// A profile's colour at a position as the user interface shows it: each channel scaled to 0..255
// and truncated, so the preview band and the slider's bar agree with each other pixel for pixel.
#pragma once

#include "profiles/CColorProfile_0.h"

#include <winui/windef.h>

inline COLORREF ProfileColorAt(const CColorProfile_0& profile, double t) {
  const auto channel = [](double value) { return static_cast<COLORREF>(static_cast<int>(value * 255.0)) & 0xFFu; };
  return channel(profile.GetRed(t)) | channel(profile.GetGreen(t)) << 8 | channel(profile.GetBlue(t)) << 16;
}
