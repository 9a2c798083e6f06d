// Measuring a dialog's font and converting dialog units to pixels.
#include "dialog_units.h"

#include <winui/wingdi.h>

#include <cstring>

namespace winui::core {
namespace {
int MulDivRound(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  return static_cast<int>((product >= 0 ? product + denominator / 2 : product - denominator / 2) / denominator);
}
}  // namespace

BaseUnits MeasureBaseUnits(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = font ? SelectObject(dc, font) : SelectObject(dc, GetStockObject(SYSTEM_FONT));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent{};
  GetTextExtentPoint32(dc, kLetters, 52, &extent);
  SelectObject(dc, old);
  DeleteDC(dc);
  return BaseUnits{static_cast<int>((extent.cx / 26 + 1) / 2), static_cast<int>(tm.tmHeight)};
}

HFONT CreateTemplateFont(const char* face, int pointSize, int weight, bool italic) {
  if (!face || !*face) return nullptr;
  LOGFONT lf{};
  lf.lfHeight = -MulDivRound(pointSize, 96, 72);
  lf.lfWeight = weight ? weight : FW_NORMAL;
  lf.lfItalic = italic ? 1 : 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
  return CreateFontIndirect(&lf);
}

RECT DialogUnitsToPixels(const RECT& u, BaseUnits base) {
  return RECT{MulDivRound(u.left, base.cx, 4), MulDivRound(u.top, base.cy, 8), MulDivRound(u.right, base.cx, 4),
              MulDivRound(u.bottom, base.cy, 8)};
}

}  // namespace winui::core
