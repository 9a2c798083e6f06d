// The free rectangles of the screen are bounded by its edges and the dialogs' edges, so those are
// the only candidates worth trying; with three dialogs that is a few hundred rectangles.
#include "view/window_layout.h"
#include "host_kit.h"

#include <winui/winuser.h>

#include <algorithm>
#include <cmath>

namespace xelimg::view {

namespace {

constexpr LONG kMargin = 8;
// How much larger a picture must be shown for a region further down or right to win.
constexpr double kWorthMoving = 1.05;

bool Overlaps(const RECT& region, const std::vector<RECT>& dialogs) {
  RECT common;
  return std::any_of(dialogs.begin(), dialogs.end(),
                     [&](const RECT& dialog) { return IntersectRect(&common, &region, &dialog) != FALSE; });
}

}  // namespace

RECT PictureWindowFrame(const RECT& screen, const std::vector<RECT>& dialogs, SIZE picture, FrameSizeFor frameFor) {
  std::vector<LONG> lefts{screen.left}, rights{screen.right}, tops{screen.top}, bottoms{screen.bottom};
  for (const RECT& dialog : dialogs) {
    lefts.push_back(dialog.right);
    rights.push_back(dialog.left);
    tops.push_back(dialog.bottom);
    bottoms.push_back(dialog.top);
  }
  const SIZE chrome = frameFor(SIZE{0, 0});
  double bestScale = 0;
  RECT best = screen;
  SIZE bestArea{picture.cx, picture.cy};
  // Top to bottom, then left to right, so that among equals the region nearest the top left wins.
  std::sort(tops.begin(), tops.end());
  std::sort(lefts.begin(), lefts.end());
  for (const LONG top : tops) {
    for (const LONG left : lefts) {
      for (const LONG right : rights) {
        for (const LONG bottom : bottoms) {
          const RECT region{left, top, right, bottom};
          if (right <= left || bottom <= top || Overlaps(region, dialogs)) continue;
          const double width = right - left - 2 * kMargin - chrome.cx;
          const double height = bottom - top - 2 * kMargin - chrome.cy;
          if (width <= 0 || height <= 0) continue;
          const double scale = std::min(width / picture.cx, height / picture.cy);
          const bool samePlace = left == best.left && top == best.top;
          if (scale <= bestScale * (samePlace ? 1.0 : kWorthMoving)) continue;
          bestScale = scale;
          best = region;
          bestArea = SIZE{static_cast<LONG>(std::floor(picture.cx * scale)),
                          static_cast<LONG>(std::floor(picture.cy * scale))};
        }
      }
    }
  }
  const SIZE frame = frameFor(bestArea);
  const LONG x = best.left + kMargin;
  const LONG y = best.top + kMargin;
  return RECT{x, y, x + frame.cx, y + frame.cy};
}

}  // namespace xelimg::view
