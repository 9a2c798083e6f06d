// The drawing vocabulary of the classic Windows look: one-pixel bevels in the system 3-D colours,
// the check-box glyphs, the combo arrow, and text that embosses when disabled.
#pragma once

#include <winui/wingdi.h>

#include <string>

namespace winui::controls {

void FillSysColor(HDC dc, const RECT& rc, int sysColor);

// One-pixel ring on the edge of `rc`; the bottom-right colour owns the top-right and bottom-left
// corners, as DrawEdge paints them.
void DrawBevel(HDC dc, const RECT& rc, int topLeftColor, int bottomRightColor);

RECT Inflated(RECT rc, int dx, int dy);

// Two-pixel edges; each returns the rectangle inside them.
RECT DrawRaisedButtonEdge(HDC dc, const RECT& rc);  // a button at rest
RECT DrawSunkenClientEdge(HDC dc, const RECT& rc);  // edits, combo boxes, check boxes
RECT DrawPushedToggleEdge(HDC dc, const RECT& rc);  // a push-like check box that is checked

// The 50% white and face dither inside a checked toggle button.
void FillCheckedDither(HDC dc, const RECT& rc);

// Classic 7 x 7 check mark with its top-left corner at (x, y).
void DrawCheckMark(HDC dc, int x, int y, int sysColor);

// Triangle 7 pixels wide and 4 high, centred in `rc`, pointing down or up.
enum class ArrowDirection { Down, Up };
void DrawArrow(HDC dc, const RECT& rc, ArrowDirection direction, int sysColor);

// DrawText in the DC's current text colour and background mode, as the parent's WM_CTLCOLOR* left
// them; disabled text is embossed (highlight under shadow) and always transparent.
void DrawControlText(HDC dc, const std::string& text, RECT rc, UINT format, bool enabled);

}  // namespace winui::controls
