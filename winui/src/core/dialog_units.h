// Dialog base units: the template font's average character width and height.
#pragma once

#include <winui/windef.h>

namespace winui::core {

struct BaseUnits {
  int cx;
  int cy;
};
// As Windows measures them: the width of the 52 Latin letters in the font, halved and rounded over
// 26, and the font's cell height.
BaseUnits MeasureBaseUnits(HFONT font);
// The font a template asks for: `pointSize` at 96 dpi, null face for the system font.
HFONT CreateTemplateFont(const char* face, int pointSize, int weight, bool italic);
RECT DialogUnitsToPixels(const RECT& units, BaseUnits base);

}  // namespace winui::core
