#include "profiles/color_profiles.h"

#include <cmath>

namespace {

// The decimal literals of the original profile tables; they are close to, but not exactly, pi/2 and
// pi, and the colours users compare against were made with them.
constexpr double H = 1.570796325;
constexpr double P = 3.14159265;

constexpr double kSixth = 0.16666666666666666;
constexpr double kThird = 0.3333333333333333;
constexpr double kTwoThirds = 0.6666666666666666;
constexpr double kFiveSixths = 0.8333333333333334;

// A quarter sine wave over one sixth of the range starting at `start`; past its quarter it falls
// again, which the falling pieces use.
double SixthWave(double p, double start) { return std::sin((p - start) * 6.0 * H); }

constexpr double kClipLow = 0.024;
constexpr double kClipScale = 1.0245901639344261;  // 1 / (1 - kClipLow)

}  // namespace

// --- Black - Blue - Green - Yellow - Red - White ---------------------------------------------------

const char* CColorProfileBlackBlueGreenYellowRedWhite::GetName() const {
  return "Black - Blue - Green - Yellow - Red - White";
}

double CColorProfileBlackBlueGreenYellowRedWhite::GetRed(double p) const {
  if (p < 0.5) return 0.0;
  if (p < kTwoThirds) return SixthWave(p, 0.5);
  return 1.0;
}

double CColorProfileBlackBlueGreenYellowRedWhite::GetGreen(double p) const {
  if (p < kSixth) return 0.0;
  if (p < kThird) return SixthWave(p, kSixth);
  if (p < kTwoThirds) return 1.0;
  if (p < kFiveSixths) return SixthWave(p, 0.5);
  if (p < 1.0) return SixthWave(p, kFiveSixths);
  return 1.0;
}

double CColorProfileBlackBlueGreenYellowRedWhite::GetBlue(double p) const {
  if (p < 0.0) return 0.0;
  if (p < kSixth) return SixthWave(p, 0.0);
  if (p < kThird) return 1.0;
  if (p < 0.5) return SixthWave(p, kSixth);
  if (p < kFiveSixths) return 0.0;
  if (p < 1.0) return SixthWave(p, kFiveSixths);
  return 1.0;
}

// --- Grey wedge --------------------------------------------------------------------------------------

const char* CColorProfileGreyWedge::GetName() const { return "Grey wedge"; }
double CColorProfileGreyWedge::GetRed(double p) const { return p; }
double CColorProfileGreyWedge::GetGreen(double p) const { return p; }
double CColorProfileGreyWedge::GetBlue(double p) const { return p; }

// --- Black - Blue - Purple - Red - Orange - Yellow - White -------------------------------------------

const char* CColorProfileBlackBluePurpleRedOrangeYellowWhite::GetName() const {
  return "Black - Blue - Purple - Red - Orange - Yellow - White";
}

double CColorProfileBlackBluePurpleRedOrangeYellowWhite::GetRed(double p) const {
  if (p < 0.1) return 0.0;
  if (p < 0.8) return std::sin((p - 0.1) * 10.0 * H / 7.0);
  return 1.0;
}

double CColorProfileBlackBluePurpleRedOrangeYellowWhite::GetGreen(double p) const {
  if (p < 0.4) return 0.0;
  if (p < 1.0) return std::sin((p - 0.4) * 5.0 * H / 3.0);
  return 1.0;
}

double CColorProfileBlackBluePurpleRedOrangeYellowWhite::GetBlue(double p) const {
  if (p < 0.0) return 0.0;
  if (p < 0.6) {
    // A hump that peaks at 2/3 and is back at 0 where red has taken over.
    const double s = std::sin(p * 5.0 * P / 3.0);
    return (s + s) / 3.0;
  }
  if (p < 0.8) return 0.0;
  if (p < 1.0) return std::sin((p - 0.8) * 5.0 * H);
  return 1.0;
}

// --- Black - Green - Red - White ---------------------------------------------------------------------

const char* CColorProfileBlackGreenRedWhite::GetName() const { return "Black - Green - Red - White"; }

double CColorProfileBlackGreenRedWhite::GetRed(double p) const { return p; }

double CColorProfileBlackGreenRedWhite::GetGreen(double p) const {
  const double p2 = p * p;
  const double p4 = p2 * p2;
  const double p6 = p4 * p2;
  return ((0.5 * p6 + (p4 + p4)) - 3.7 * p2) + 2.2 * p;
}

double CColorProfileBlackGreenRedWhite::GetBlue(double p) const { return (p * p) * (p * p); }

// --- Clipping detection ------------------------------------------------------------------------------

const char* CColorProfileClipDetect::GetName() const { return "Clipping detection"; }

double CColorProfileClipDetect::GetRed(double p) const {
  if (p < kClipLow) return 0.0;
  if (p == 1.0) return 1.0;
  return (p - kClipLow) * kClipScale;
}

double CColorProfileClipDetect::GetGreen(double p) const {
  if (p < kClipLow) return 0.0;
  if (p == 1.0) return 0.0;
  return (p - kClipLow) * kClipScale;
}

double CColorProfileClipDetect::GetBlue(double p) const {
  if (p < kClipLow) return 1.0;
  if (p == 1.0) return 0.0;
  return (p - kClipLow) * kClipScale;
}
