// The classic Windows scheme: grey 3-D faces, navy captions fading to light blue.
#include "gdi_objects.h"

#include <array>

namespace {

constexpr int kColorCount = COLOR_GRADIENTINACTIVECAPTION + 1;

constexpr std::array<COLORREF, kColorCount> kClassicScheme = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25, unnamed
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
};

bool Known(int index) { return index >= 0 && index < kColorCount; }

}  // namespace

DWORD GetSysColor(int index) { return Known(index) ? kClassicScheme[index] : 0; }

HBRUSH GetSysColorBrush(int index) {
  static const auto brushes = [] {
    std::array<HBRUSH, kColorCount> made{};
    for (int i = 0; i < kColorCount; ++i) {
      made[i] = reinterpret_cast<HBRUSH>(
          winui::gdi::Register(winui::gdi::GdiObject{winui::gdi::BrushData{BS_SOLID, kClassicScheme[i]}, true}));
    }
    return made;
  }();
  return Known(index) ? brushes[index] : nullptr;
}
