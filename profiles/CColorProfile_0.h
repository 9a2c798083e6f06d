// A colour profile: maps a normalised position (0 = lowest grey value of interest, 1 = highest) to
// red, green and blue intensities, nominally 0..1. Profiles hold no data, so any thread may use one.
#pragma once

class CColorProfile_0 {
 public:
  virtual const char* GetName() const = 0;
  virtual double GetRed(double p) const = 0;
  virtual double GetGreen(double p) const = 0;
  virtual double GetBlue(double p) const = 0;
  virtual ~CColorProfile_0() = default;
};
