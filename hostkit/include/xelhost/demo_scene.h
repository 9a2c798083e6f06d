// The built-in input: thermal-camera-like 16-bit greyscale frames, the same on every run.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/framework_types.h>

namespace xelhost {

inline constexpr UINT kDemoWidth = 320;
inline constexpr UINT kDemoHeight = 240;
// One loop of the animated scene; frame kDemoFrames looks like frame 0 again.
inline constexpr UINT kDemoFrames = 120;

// A warm floor fading into a cool background, three hot spots of different size and heat, a cold
// patch, and a little sensor noise from a fixed-seed generator.
xelfw::Image MakeDemoScene(UINT width = kDemoWidth, UINT height = kDemoHeight);

// One frame of the animated scene: a hot spot circling over a warm gradient while its heat swells
// and fades, so that the grey range of the picture changes from frame to frame. The frame depends
// on its index alone (modulo kDemoFrames).
xelfw::Image MakeDemoFrame(UINT index, UINT width = kDemoWidth, UINT height = kDemoHeight);

}  // namespace xelhost
