// An off-screen drawing context: everything drawn into it lands in a bitmap of the target's clip box,
// which is copied to the target in one blit when the object goes away, so that a control repainting
// on every mouse move does not flicker.
#pragma once

#include <winui/afxwin.h>

class CMemDC : public CDC {
 public:
  explicit CMemDC(CDC* target);
  ~CMemDC() override;
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

 private:
  CBitmap m_bitmap;
  CBitmap* m_oldBitmap = nullptr;
  CDC* m_pDC;
  CRect m_rect;
  bool m_bMemDC;
};
