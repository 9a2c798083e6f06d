#include "ui/mem_dc.h"

CMemDC::CMemDC(CDC* target) : m_pDC(target), m_bMemDC(true) {
  m_pDC->GetClipBox(&m_rect);
  // An empty clip box has no bitmap to draw into; drawing then goes straight to the target, which
  // clips it away anyway.
  m_bMemDC = !m_rect.IsRectEmpty() && CreateCompatibleDC(m_pDC) &&
             m_bitmap.CreateCompatibleBitmap(m_pDC, m_rect.Width(), m_rect.Height());
  if (!m_bMemDC) {
    DeleteDC();
    Attach(m_pDC->GetSafeHdc());
    return;
  }
  m_oldBitmap = SelectObject(&m_bitmap);
  SetWindowOrg(m_rect.left, m_rect.top);
  FillSolidRect(&m_rect, m_pDC->GetBkColor());
}

CMemDC::~CMemDC() {
  if (!m_bMemDC) {
    Detach();  // the target's handle, not ours to delete
    return;
  }
  m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
  SelectObject(m_oldBitmap);
}
