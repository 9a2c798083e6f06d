// Frames a second, as video streams declare them and video files are written at.
#pragma once

namespace xelhost {

// A fraction, 30000/1001 as much as 25/1; the default is the rate of a sequence that declares none.
struct FrameRate {
  int numerator = 25;
  int denominator = 1;
};

}  // namespace xelhost
