// The slider's picture: groove, its outline, the two thumbs with their glyphs, and the bar between
// the thumbs, drawn off-screen on every paint.
#include "ui/mem_dc.h"
#include "ui/range_slider.h"
#include "ui/range_slider_layout.h"

#include <algorithm>
#include <initializer_list>

namespace {

using range_slider::Layout;

// The two pens of the 3-D look; a step of an outline names which one draws it.
struct Pens {
  CPen shadow{PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)};
  CPen highlight{PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT)};
};
enum class Pen { H, S };
struct OutlineStep {
  Pen pen;
  CPoint to;
};

void DrawOutline(CDC& dc, Pens& pens, CPoint start, std::initializer_list<OutlineStep> steps) {
  dc.MoveTo(start);
  for (const OutlineStep& step : steps) {
    dc.SelectObject(step.pen == Pen::H ? &pens.highlight : &pens.shadow);
    dc.LineTo(step.to);
  }
}

void DrawGroove(CDC& dc, const Layout& l, CBrush& black, Pens& pens) {
  const int w = l.w, h = l.h, a = l.a;
  const int a4 = a / 4, a8 = a / 8, a38 = (3 * a) / 8;
  if (l.horizontal) {
    const int h8 = h / 8, h78 = (7 * h) / 8, mid = h / 2, h16 = h / 16;
    dc.FillRect(CRect(a4, h8, a4 + a8, h8 + a), &black);
    dc.FillRect(CRect(w - a38, h8, w - a38 + a8, h8 + a), &black);
    dc.FillRect(CRect(a38, mid - h16, w - a38, mid + h16), &black);
    DrawOutline(dc, pens, {a4 - 1, h78 - 1},
                {{Pen::H, {a4 - 1, h8 - 1}},
                 {Pen::H, {a38, h8 - 1}},
                 {Pen::S, {a38, mid - h16 - 1}},
                 {Pen::H, {w - a38 - 1, mid - h16 - 1}},
                 {Pen::H, {w - a38 - 1, h8 - 1}},
                 {Pen::H, {w - a4, h8 - 1}},
                 {Pen::S, {w - a4, h78}},
                 {Pen::S, {w - a38 - 1, h78}},
                 {Pen::H, {w - a38 - 1, mid + h16}},
                 {Pen::S, {a38, mid + h16}},
                 {Pen::S, {a38, h78}},
                 {Pen::S, {a4 - 2, h78}}});
  } else {
    const int w8 = w / 8, w78 = (7 * w) / 8, mid = w / 2, w16 = w / 16, postWidth = w - w / 4;
    dc.FillRect(CRect(w8, a4, w8 + postWidth, a4 + a8), &black);
    dc.FillRect(CRect(w8, h - a38, w8 + postWidth, h - a38 + a8), &black);
    dc.FillRect(CRect(mid - w16, a38, mid + w16, h - a38), &black);
    DrawOutline(dc, pens, {w8 - 1, a38 - 1},
                {{Pen::H, {w8 - 1, a4 - 1}},
                 {Pen::H, {w78, a4 - 1}},
                 {Pen::S, {w78, a38}},
                 {Pen::S, {mid + w16, a38}},
                 {Pen::S, {mid + w16, h - a38 - 1}},
                 {Pen::S, {w78, h - a38 - 1}},
                 {Pen::S, {w78, h - a4}},
                 {Pen::S, {w8 - 1, h - a4}},
                 {Pen::H, {w8 - 1, h - a38 - 1}},
                 {Pen::H, {mid - w16 - 1, h - a38 - 1}},
                 {Pen::H, {mid - w16 - 1, a38}},
                 {Pen::S, {w8 - 2, a38}}});
  }
}

// The stem and arm of a thumb's glyph; `ox` is the thumb's leading edge along the scale.
void DrawGlyph(CDC& dc, const Layout& l, Pens& pens, CBrush& ink, bool first, int ox, int oy) {
  const int a = l.a, across = l.across;
  const int top = oy + across / 4, bottom = oy + (3 * across) / 4;
  const int armTop = oy + (across - across / 8) / 2, armBottom = armTop + across / 8;
  const COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW);
  if (first) {
    const int stemLeft = ox + a / 4, stemRight = stemLeft + a / 8, armEnd = ox + a / 4 + a / 2;
    CRect stem = l.Rect(stemLeft, top, stemRight, bottom);
    dc.FillRect(stem, &ink);
    stem.InflateRect(1, 1);
    dc.Draw3dRect(stem, hi, sh);
    dc.FillRect(l.Rect(stemRight, armTop, armEnd, armBottom), &ink);
    DrawOutline(dc, pens, l.Point(stemRight + 1, armTop - 1),
                {{Pen::H, l.Point(armEnd, armTop - 1)},
                 {Pen::S, l.Point(armEnd, armBottom)},
                 {Pen::S, l.Point(stemRight, armBottom)}});
    return;
  }
  const int e = ox + a - a / 4, stemLeft = e - a / 8, armStart = e - a / 2;
  dc.FillRect(l.Rect(stemLeft, top, e, bottom), &ink);
  dc.FillRect(l.Rect(armStart, armTop, stemLeft, armBottom), &ink);
  DrawOutline(dc, pens, l.Point(e, top - 1),
              {{Pen::H, l.Point(stemLeft - 1, top - 1)},
               {Pen::H, l.Point(stemLeft - 1, armTop - 1)},
               {Pen::H, l.Point(armStart - 1, armTop - 1)},
               {Pen::S, l.Point(armStart - 1, armBottom)},
               {Pen::S, l.Point(stemLeft - 1, armBottom)},
               {Pen::H, l.Point(stemLeft - 1, bottom)},
               {Pen::S, l.Point(e, bottom)},
               {Pen::S, l.Point(e, top - 1)}});
}

void DrawThumb(CDC& dc, const Layout& l, Pens& pens, CBrush& face, CBrush& ink, bool first, bool dragged) {
  dc.SelectStockObject(BLACK_PEN);
  dc.SelectObject(&face);
  CRect thumb = first ? l.FirstThumb() : l.SecondThumb();
  dc.Rectangle(thumb);
  thumb.DeflateRect(1, 1);
  const COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW);
  dc.Draw3dRect(thumb, dragged ? sh : hi, dragged ? hi : sh);
  const int shift = dragged ? 1 : 0;
  DrawGlyph(dc, l, pens, ink, first, (first ? l.p1 : l.p2 + l.a) + shift, shift);
}

}  // namespace

void CRangeSlider::OnPaint() {
  CPaintDC paint(this);
  CMemDC dc(&paint);
  dc.SetMapMode(MM_TEXT);
  DrawPicture(dc);
}

void CRangeSlider::DrawPicture(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  const Layout l = range_slider::Compute(client, m_bHorizontal != 0, m_Min, m_Max, m_Left, m_Right);

  CBrush face(::GetSysColor(COLOR_BTNFACE));
  CBrush black(RGB(0, 0, 0));
  Pens pens;
  CGdiObject* oldBrush = dc.SelectStockObject(GRAY_BRUSH);
  CGdiObject* oldPen = dc.SelectStockObject(BLACK_PEN);

  CRect clip;
  dc.GetClipBox(&clip);
  dc.FillRect(clip, &face);
  DrawGroove(dc, l, black, pens);

  CBrush thumbFace(::GetSysColor(COLOR_BTNFACE));
  CBrush ink(::GetSysColor(IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawThumb(dc, l, pens, thumbFace, ink, true, m_nDragState == 1);
  DrawThumb(dc, l, pens, thumbFace, ink, false, m_nDragState == 2);

  if (l.p1 < l.p2) {
    CRect frame = l.Rect(l.p1 + l.a, 1, l.p2 + l.a, l.across - 1);
    const COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW);
    const bool sunken = m_nDragState == 3;
    dc.Draw3dRect(frame, sunken ? sh : hi, sunken ? hi : sh);
    CRect inner = frame;
    inner.DeflateRect(1, 1);
    DrawBar(dc, inner, l.horizontal);
    CWnd* focus = CWnd::GetFocus();
    if (focus && focus->GetDlgCtrlID() == GetDlgCtrlID()) {
      inner.DeflateRect(3, 3);
      dc.DrawFocusRect(inner);
    }
  }

  dc.SelectObject(oldBrush);
  dc.SelectObject(oldPen);
}

void CRangeSlider::DrawBar(CDC& dc, const CRect& inner, bool horizontal) {
  if (!m_pfnColorCallback) {
    CBrush background(m_crBackground);
    dc.FillRect(inner, &background);
    return;
  }
  const int n = horizontal ? inner.Width() : inner.Height();
  // With one line the spacing would divide by zero; that line shows m_Left.
  const double spacing = n > 1 ? (m_Right - m_Left) / (n - 1) : 0.0;
  // Values far off the scale put the bar's ends up to a billion pixels outside the control: only
  // the lines that can be seen are drawn, each still in the colour of its own position.
  CRect client;
  GetClientRect(&client);
  const int first = std::max(0, horizontal ? client.left - inner.left : client.top - inner.top);
  const int last = std::min(n, horizontal ? client.right - inner.left : client.bottom - inner.top);
  for (int i = first; i < last; ++i) {
    const double position = m_Left + i * spacing;
    CBrush line(m_pfnColorCallback(m_pColorCallbackContext, m_Min, m_Max, m_Left, m_Right, position));
    const CRect rect = horizontal ? CRect(inner.left + i, inner.top, inner.left + i + 1, inner.bottom)
                                  : CRect(inner.left, inner.top + i, inner.right, inner.top + i + 1);
    dc.FillRect(rect, &line);
  }
}
