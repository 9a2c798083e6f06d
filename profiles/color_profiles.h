// The five colour profiles the pseudo-colour object offers.
#pragma once

#include "profiles/CColorProfile_0.h"

// Black at 0, blue at 1/6, green from 1/3 to 1/2, yellow at 2/3, red at 5/6, white at 1.
class CColorProfileBlackBlueGreenYellowRedWhite : public CColorProfile_0 {
 public:
  const char* GetName() const override;
  double GetRed(double p) const override;
  double GetGreen(double p) const override;
  double GetBlue(double p) const override;
};

// The identity: every channel is p itself, not clamped.
class CColorProfileGreyWedge : public CColorProfile_0 {
 public:
  const char* GetName() const override;
  double GetRed(double p) const override;
  double GetGreen(double p) const override;
  double GetBlue(double p) const override;
};

class CColorProfileBlackBluePurpleRedOrangeYellowWhite : public CColorProfile_0 {
 public:
  const char* GetName() const override;
  double GetRed(double p) const override;
  double GetGreen(double p) const override;
  double GetBlue(double p) const override;
};

// Polynomials: red rises linearly, green has a hump and a dip, blue is p to the fourth.
class CColorProfileBlackGreenRedWhite : public CColorProfile_0 {
 public:
  const char* GetName() const override;
  double GetRed(double p) const override;
  double GetGreen(double p) const override;
  double GetBlue(double p) const override;
};

// Marks clipped grey values: blue below the bottom few percent, red exactly at the top, grey between.
class CColorProfileClipDetect : public CColorProfile_0 {
 public:
  const char* GetName() const override;
  double GetRed(double p) const override;
  double GetGreen(double p) const override;
  double GetBlue(double p) const override;
};
