#include "ui/pseudo_color_static.h"

#include "ui/profile_color.h"

BEGIN_MESSAGE_MAP(CPseudoColorStatic, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void CPseudoColorStatic::SetProfile(CColorProfile_0* profile) {
  m_pProfile = profile;
  InvalidateBand();
}

void CPseudoColorStatic::SetHorizontal(BOOL horizontal) {
  m_bHorizontal = horizontal;
  InvalidateBand();
}

// Without erasing: the new band covers the old one completely, so erasing would only flicker.
void CPseudoColorStatic::InvalidateBand() {
  if (m_hWnd) InvalidateRect(nullptr, FALSE);
}

void CPseudoColorStatic::OnPaint() {
  CPaintDC dc(this);
  if (!m_pProfile) return;
  CRect rect;
  GetClientRect(&rect);
  dc.FrameRect(rect, CBrush::FromHandle(reinterpret_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))));
  rect.DeflateRect(1, 1);
  const int n = m_bHorizontal ? rect.Width() : rect.Height();
  for (int i = 0; i < n; ++i) {
    const double t = m_bHorizontal ? static_cast<double>(i) / n : 1.0 - static_cast<double>(i) / n;
    CPen pen(PS_SOLID, 1, ProfileColorAt(*m_pProfile, t));
    CPen* previous = dc.SelectObject(&pen);
    if (m_bHorizontal) {
      dc.MoveTo(rect.left + i, rect.top);
      dc.LineTo(rect.left + i, rect.bottom);
    } else {
      dc.MoveTo(rect.left, rect.top + i);
      dc.LineTo(rect.right, rect.top + i);
    }
    dc.SelectObject(previous);
  }
}
