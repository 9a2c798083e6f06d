// What the pseudo-colour object's dialogs see of their owner: the LUT window, the profile choice,
// the automatic modes and width limits, read-only settings and the host's unit converter. The
// dialogs change the object through these calls only; the object is the one implementation.
#pragma once

#include "profiles/CColorProfileList.h"

#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/CXelUnitConverter_0.h>
#include <XelPseudoColor/SettingsRecord.h>

enum class EWidthLimit { Min, Max };

// What the "Pseudo color" dialog redraws on a refresh request (its dialog bits).
inline constexpr UINT kPseudoColorRefreshScaleEnds = 0x01;
inline constexpr UINT kPseudoColorRefreshSliderRange = 0x02;
inline constexpr UINT kPseudoColorRefreshBoundValues = 0x04;
inline constexpr UINT kPseudoColorRefreshWidthLimits = 0x08;
inline constexpr UINT kPseudoColorRefreshAutoModes = 0x10;
inline constexpr UINT kPseudoColorRefreshProfileList = 0x20;
inline constexpr UINT kPseudoColorRefreshProfileSelection = 0x40;
// What a new frame can change, what a new profile changes, and everything.
inline constexpr UINT kPseudoColorRefreshFrame = kPseudoColorRefreshScaleEnds | kPseudoColorRefreshSliderRange |
                                                 kPseudoColorRefreshBoundValues | kPseudoColorRefreshWidthLimits;
inline constexpr UINT kPseudoColorRefreshProfile = kPseudoColorRefreshProfileSelection | kPseudoColorRefreshSliderRange;
inline constexpr UINT kPseudoColorRefreshAll = kPseudoColorRefreshFrame | kPseudoColorRefreshAutoModes |
                                               kPseudoColorRefreshProfileList | kPseudoColorRefreshProfileSelection;

// What the "Scale" dialog redraws on a refresh request.
inline constexpr UINT kTempScaleRefreshUnitText = 0x01;
inline constexpr UINT kTempScaleRefreshScale = 0x02;  // the colour bar and its labels
inline constexpr UINT kTempScaleRefreshAll = kTempScaleRefreshUnitText | kTempScaleRefreshScale;

class CPseudoColorOwner : public CXelImgProcess {
 public:
  using CXelImgProcess::CXelImgProcess;

  // The LUT window, as fractions of the source grey range.
  virtual void SetBounds(double lower, double upper) = 0;
  virtual void GetBounds(double* pLower, double* pUpper) const = 0;
  // Both only compute: TRUE writes both outputs, FALSE touches neither.
  virtual BOOL CalculateAutoContrast(double* pLower, double* pUpper) = 0;
  virtual BOOL CalculateAutoBrightness(double* pLower, double* pUpper, double width) = 0;
  // kPseudoColorAutoContrast, kPseudoColorAutoBrightness or 0 for manual bounds.
  virtual void SetAutoMode(UINT mode) = 0;
  virtual void SetWidthLimit(EWidthLimit which, BOOL enabled, double width) = 0;

  virtual const CColorProfileList& GetProfiles() const = 0;
  // Selecting a profile leaves the LUT as it is: the dialog decides when the new profile reaches
  // the image, by invalidating the LUT.
  virtual void SelectColorProfile(UINT index) = 0;
  virtual void InvalidateLut() = 0;

  virtual UINT GetSliderSteps() const = 0;
  virtual const TPseudoColorSettings& GetSettings() const = 0;
  // Null when the host has no unit converter.
  virtual CXelUnitConverter_0* GetUnitConverter() const = 0;
  // Largest grey value of the last source; the converter's scale divides by it.
  virtual UINT GetGreySpan() const = 0;
};
