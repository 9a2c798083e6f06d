// The two-thumb range slider of the plug-in's "Pseudo color" dialog (window class "XelRangeSlider"),
// as any window sees it: the messages that set and read it, in the manner of the common controls,
// and the codes of the notification it sends its parent.
#pragma once

#include <winui/windef.h>
#include <winui/winuser.h>

// Colour of the bar at `position`, called once per pixel line between the thumbs.
using TRangeSliderColorCallback = COLORREF (*)(void* context, double min, double max, double left, double right,
                                               double position);

// Notification codes, sent as the WPARAM of the slider's notify message; the LPARAM is the slider's CWnd.
enum : WPARAM { RSN_LEFT = 0, RSN_RIGHT = 1, RSN_BOTH = 2 };

// Messages to the slider. Values travel as doubles behind the LPARAM; each returns 0.
inline constexpr UINT RSM_SETMINMAX = WM_USER + 1;         // LPARAM: const double[2], the scale's ends in any order
inline constexpr UINT RSM_SETRANGE = WM_USER + 2;          // LPARAM: const double[2], the thumbs in any order
inline constexpr UINT RSM_GETRANGE = WM_USER + 3;          // LPARAM: double[2], receives left and right
inline constexpr UINT RSM_SETSTEP = WM_USER + 4;           // LPARAM: const double*, 0 for one pixel
inline constexpr UINT RSM_SETCOLORCALLBACK = WM_USER + 5;  // WPARAM: TRangeSliderColorCallback, LPARAM: its context
inline constexpr UINT RSM_SETHORIZONTAL = WM_USER + 6;     // WPARAM: TRUE for a horizontal scale, FALSE for vertical
