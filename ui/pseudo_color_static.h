// A static control that shows one colour profile as a band inside a one-pixel black frame, left to
// right or, with the horizontal flag cleared, bottom (low end) to top (high end).
#pragma once

#include "profiles/CColorProfile_0.h"

#include <winui/afxwin.h>

class CPseudoColorStatic : public CStatic {
 public:
  CPseudoColorStatic() = default;

  // The profile is borrowed from its list; null shows nothing.
  void SetProfile(CColorProfile_0* profile);
  void SetHorizontal(BOOL horizontal);

 protected:
  void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  void InvalidateBand();

  BOOL m_bHorizontal = TRUE;
  CColorProfile_0* m_pProfile = nullptr;
};
