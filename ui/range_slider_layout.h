// Where the parts of the slider lie, computed from its client size and values whenever needed.
// Coordinates are along the scale (u) and across it (v), so one set of rules serves both orientations.
#pragma once

#include <winui/afxgdi.h>

namespace range_slider {

struct Layout {
  bool horizontal;
  int w, h;    // client size
  int a;       // thumb size along the scale
  int track;   // L: the pixels the thumbs travel
  int p1, p2;  // thumb positions along the track
  int across;  // the control's extent across the scale (h horizontal, w vertical)

  // A rectangle given along and across the scale, as client coordinates.
  CRect Rect(int u0, int v0, int u1, int v1) const {
    return horizontal ? CRect(u0, v0, u1, v1) : CRect(v0, u0, v1, u1);
  }
  CPoint Point(int u, int v) const { return horizontal ? CPoint(u, v) : CPoint(v, u); }

  CRect FirstThumb() const { return Rect(p1, 0, p1 + a, across); }
  CRect SecondThumb() const { return Rect(p2 + a, 0, p2 + 2 * a, across); }
  CRect BarBetweenThumbs() const { return Rect(p1 + a, 0, p2 + a, across); }
  // The value span of one pixel of track; 0 when the scale is empty or the track has no length.
  double ValuePerPixel(double min, double max) const;
};

Layout Compute(const CRect& client, bool horizontal, double min, double max, double left, double right);

}  // namespace range_slider
