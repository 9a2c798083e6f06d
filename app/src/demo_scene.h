// The built-in input: a thermal-camera-like 16-bit greyscale frame, the same on every run.
#pragma once

#include <xelfw/Image.h>

namespace xelimg {

inline constexpr UINT kDemoWidth = 320;
inline constexpr UINT kDemoHeight = 240;

// A warm floor fading into a cool background, three hot spots of different size and heat, a cold
// patch, and a little sensor noise from a fixed-seed generator.
xelfw::Image MakeDemoScene(UINT width = kDemoWidth, UINT height = kDemoHeight);

}  // namespace xelimg
