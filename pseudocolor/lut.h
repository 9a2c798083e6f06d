// The LUT rule: how a grey value becomes a finished destination component value.
#pragma once

#include <XelImgProcess/XelTypes.h>

// Where a normalised grey value x falls in the window [lower, upper], as a profile position 0..1.
// At or below lower gives 0, above upper 1; an empty or inverted window is a hard step at lower.
double NormalizeWindowPosition(double x, double lower, double upper);

// The destination component format the entries are computed for.
struct TLutEntryFormat {
  UINT memBPC;  // entry width: 8, 16 or 32
  UINT imgBPC;  // significant bits the intensity is scaled to
  UINT lsbPos;  // where those bits start inside the unit
  UINT mask;    // the component's bits inside the unit
};

// Entry for a profile intensity v (nominally 0..1; values above 1 are cut to 1): v scaled to the
// significant bits, halves rounded up, placed at the LSB position and masked, in the low memBPC bits.
UINT LutEntry(double v, const TLutEntryFormat& format);
