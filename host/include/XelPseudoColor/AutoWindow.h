// Whether the pseudo-colour object found the automatic window its AutoMode asks for, as a host reads
// it after Process: GetParam(XIP_PARAM_PSEUDOCOLOR_AUTO_WINDOW, pointer to a UINT, sizeof(UINT)).
// The object's log says why a window was not found; a host decides from this value alone.
#pragma once

#include <XelImgProcess/XelTypes.h>

inline constexpr UINT XIP_PARAM_PSEUDOCOLOR_AUTO_WINDOW = 14;

enum EPseudoColorAutoWindow : UINT {
  kPseudoColorAutoWindowNone = 0,      // the last Process asked for none, or stopped before the window
  kPseudoColorAutoWindowFound = 1,     // the bounds became the window found for the frame
  kPseudoColorAutoWindowNotFound = 2,  // the frame kept the bounds it had
};
