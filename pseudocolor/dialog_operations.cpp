// Small operations the dialogs call on their owner.
#include "pseudocolor/CXelPseudoColorClass.h"

void CXelPseudoColorClass::SetBounds(double lower, double upper) {
  // Both bounds before the invalidation: a frame must not build its tables from half a window and
  // keep them.
  Settings.Lower = lower;
  Settings.Upper = upper;
  Lut.Invalidate();
  UpdateTempScaleDialog(kTempScaleRefreshScale);
}

void CXelPseudoColorClass::GetBounds(double* pLower, double* pUpper) const {
  if (pLower != nullptr) *pLower = Settings.Lower;
  if (pUpper != nullptr) *pUpper = Settings.Upper;
}

// The LUT is left valid on purpose: the pseudo-colour dialog decides when the new profile reaches
// the image, and invalidates the LUT itself.
void CXelPseudoColorClass::SelectColorProfile(UINT index) {
  ProfileList.SetCurrentIndex(index);
  UpdatePseudoColorDialog(kPseudoColorRefreshProfile);
  UpdateTempScaleDialog(kTempScaleRefreshScale);
}

UINT CXelPseudoColorClass::GetSliderSteps() const { return SliderSteps; }

void CXelPseudoColorClass::SetAutoMode(UINT mode) { Settings.AutoMode = mode; }

void CXelPseudoColorClass::SetWidthLimit(EWidthLimit which, BOOL enabled, double width) {
  if (which == EWidthLimit::Min) {
    Settings.AutoContrastMinWidthEnable = enabled;
    Settings.AutoContrastMinWidth = width;
  } else {
    Settings.AutoContrastMaxWidthEnable = enabled;
    Settings.AutoContrastMaxWidth = width;
  }
}

const CColorProfileList& CXelPseudoColorClass::GetProfiles() const { return ProfileList; }

void CXelPseudoColorClass::InvalidateLut() { Lut.Invalidate(); }

const TPseudoColorSettings& CXelPseudoColorClass::GetSettings() const { return Settings; }

CXelUnitConverter_0* CXelPseudoColorClass::GetUnitConverter() const { return pUnitConverter; }

UINT CXelPseudoColorClass::GetGreySpan() const { return GreySpan.load(std::memory_order_relaxed); }
