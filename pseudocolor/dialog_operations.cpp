// Small operations the dialogs call on their owner.
#include "pseudocolor/CXelPseudoColorClass.h"

void CXelPseudoColorClass::SetBounds(double lower, double upper) {
  Settings.Lower = lower;
  LutValid = 0;
  Settings.Upper = upper;
  UpdateTempScaleDialog(kTempScaleRefreshScale);
}

void CXelPseudoColorClass::GetBounds(double* pLower, double* pUpper) const {
  if (pLower != nullptr) *pLower = Settings.Lower;
  if (pUpper != nullptr) *pUpper = Settings.Upper;
}

// The LUT is left valid on purpose: the pseudo-colour dialog decides when the new profile reaches
// the image, and clears LutValid itself.
void CXelPseudoColorClass::SelectColorProfile(UINT index) {
  ProfileList.SetCurrentIndex(index);
  UpdatePseudoColorDialog(kPseudoColorRefreshProfile);
  UpdateTempScaleDialog(kTempScaleRefreshScale);
}

UINT CXelPseudoColorClass::GetSliderSteps() const { return SliderSteps; }
