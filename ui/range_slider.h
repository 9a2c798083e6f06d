// A two-thumb slider: the user picks the sub-range [m_Left, m_Right] of the scale [m_Min, m_Max] by
// dragging a thumb, dragging the bar between them, or with the arrow keys; every change is sent to
// the parent as m_nNotifyMsg. The owner sets the public members directly, as the dialog code expects;
// other windows use the messages of <XelPseudoColor/RangeSlider.h>.
#pragma once

#include <XelPseudoColor/RangeSlider.h>
#include <winui/afxwin.h>

class CRangeSlider : public CWnd {
 public:
  CRangeSlider();
  ~CRangeSlider() override;

  static BOOL RegisterWindowClass();
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, void* context = nullptr);
  void SetMinMax(double a, double b);
  void SetRange(double a, double b);

  double m_Min = 0.0;
  double m_Max = 1.0;
  double m_Left = 0.0;
  double m_Right = 1.0;
  double m_OldLeft = 0.0;
  double m_OldRight = 0.0;
  double m_Step = 0.0;
  TRangeSliderColorCallback m_pfnColorCallback = nullptr;
  void* m_pColorCallbackContext = nullptr;
  UINT m_nNotifyMsg = 0;
  BOOL m_bHorizontal = TRUE;
  CPoint m_ptClick{0, 0};
  COLORREF m_crBackground;
  int m_nDragState = 0;

 protected:
  void OnPaint();
  void OnLButtonDown(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  void OnSetFocus(CWnd* oldWnd);
  void OnKillFocus(CWnd* newWnd);
  void OnEnable(BOOL enable);
  UINT OnGetDlgCode();
  LRESULT OnSetMinMax(WPARAM, LPARAM values);
  LRESULT OnSetRange(WPARAM, LPARAM values);
  LRESULT OnGetRange(WPARAM, LPARAM values);
  LRESULT OnSetStep(WPARAM, LPARAM step);
  LRESULT OnSetColorCallback(WPARAM callback, LPARAM context);
  LRESULT OnSetHorizontal(WPARAM horizontal, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  enum class Thumb { First, Second, Both };
  // Moves the thumbs by `delta` (positive toward m_Min) from `fromLeft`/`fromRight` without leaving
  // the scale or crossing each other; returns the notification code.
  WPARAM MoveThumbs(Thumb thumb, double delta, double fromLeft, double fromRight);
  void Notify(WPARAM code);
  void DrawPicture(CDC& dc);
  void DrawBar(CDC& dc, const CRect& inner, bool horizontal);
};
