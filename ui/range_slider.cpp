#include "ui/range_slider.h"

#include "ui/range_slider_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr LPCSTR kClassName = "XelRangeSlider";
}  // namespace

BEGIN_MESSAGE_MAP(CRangeSlider, CWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_ENABLE()
  ON_WM_GETDLGCODE()
  ON_MESSAGE(RSM_SETMINMAX, OnSetMinMax)
  ON_MESSAGE(RSM_SETRANGE, OnSetRange)
  ON_MESSAGE(RSM_GETRANGE, OnGetRange)
  ON_MESSAGE(RSM_SETSTEP, OnSetStep)
  ON_MESSAGE(RSM_SETCOLORCALLBACK, OnSetColorCallback)
  ON_MESSAGE(RSM_SETHORIZONTAL, OnSetHorizontal)
END_MESSAGE_MAP()

CRangeSlider::CRangeSlider() : m_crBackground(::GetSysColor(COLOR_BTNFACE)) { RegisterWindowClass(); }

CRangeSlider::~CRangeSlider() { DestroyWindow(); }

BOOL CRangeSlider::RegisterWindowClass() {
  const HINSTANCE instance = AfxGetInstanceHandle();
  WNDCLASS wc;
  if (::GetClassInfo(instance, kClassName, &wc)) return TRUE;
  wc = WNDCLASS{};
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ::DefWindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!::RegisterClass(&wc)) AfxThrowResourceException();
  return TRUE;
}

// The window layer has no anonymous default child class, so the slider is created from its own
// registered class, which carries the double-click and redraw styles the control wants anyway.
BOOL CRangeSlider::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, void* context) {
  return CWnd::Create(kClassName, "", style, rect, parent, id, context);
}

void CRangeSlider::SetMinMax(double a, double b) {
  m_Min = std::min(a, b);
  m_Max = std::max(a, b);
  if (m_hWnd) Invalidate(TRUE);
}

void CRangeSlider::SetRange(double a, double b) {
  m_Left = std::min(a, b);
  m_Right = std::max(a, b);
  if (m_hWnd) Invalidate(TRUE);
}

LRESULT CRangeSlider::OnSetMinMax(WPARAM, LPARAM values) {
  const auto* ends = reinterpret_cast<const double*>(values);
  SetMinMax(ends[0], ends[1]);
  return 0;
}

LRESULT CRangeSlider::OnSetRange(WPARAM, LPARAM values) {
  const auto* thumbs = reinterpret_cast<const double*>(values);
  SetRange(thumbs[0], thumbs[1]);
  return 0;
}

LRESULT CRangeSlider::OnGetRange(WPARAM, LPARAM values) {
  auto* thumbs = reinterpret_cast<double*>(values);
  thumbs[0] = m_Left;
  thumbs[1] = m_Right;
  return 0;
}

LRESULT CRangeSlider::OnSetStep(WPARAM, LPARAM step) {
  m_Step = *reinterpret_cast<const double*>(step);
  return 0;
}

LRESULT CRangeSlider::OnSetColorCallback(WPARAM callback, LPARAM context) {
  m_pfnColorCallback = reinterpret_cast<TRangeSliderColorCallback>(callback);
  m_pColorCallbackContext = reinterpret_cast<void*>(context);
  Invalidate(TRUE);
  return 0;
}

LRESULT CRangeSlider::OnSetHorizontal(WPARAM horizontal, LPARAM) {
  m_bHorizontal = horizontal ? TRUE : FALSE;
  Invalidate(TRUE);
  return 0;
}

WPARAM CRangeSlider::MoveThumbs(Thumb thumb, double delta, double fromLeft, double fromRight) {
  const double oldLeft = m_Left;
  const double oldRight = m_Right;
  switch (thumb) {
    case Thumb::First: {
      const double n = fromLeft - delta;
      const double t = m_Min >= n ? m_Min : n;
      m_Left = t >= m_Right ? m_Right : t;
      return RSN_LEFT;
    }
    case Thumb::Second: {
      const double n = fromRight - delta;
      const double t = m_Left >= n ? m_Left : n;
      m_Right = t >= m_Max ? m_Max : t;
      return m_Right != oldRight ? RSN_RIGHT : RSN_LEFT;
    }
    case Thumb::Both: {
      const double width = m_Right - m_Left;
      const double nl = fromLeft - delta;
      const double t = nl <= m_Min ? m_Min : nl;
      m_Left = m_Max - width <= t ? m_Max - width : t;
      const double nr = fromRight - delta;
      const double u = m_Right >= nr ? m_Right : nr;
      m_Right = u >= m_Left + width ? m_Left + width : u;
      return (m_Left != oldLeft || m_Right != oldRight) ? RSN_BOTH : RSN_LEFT;
    }
  }
  return RSN_LEFT;
}

void CRangeSlider::Notify(WPARAM code) {
  if (m_nNotifyMsg == 0) return;
  if (const HWND parent = ::GetParent(m_hWnd)) {
    ::SendMessage(parent, m_nNotifyMsg, code, reinterpret_cast<LPARAM>(this));
  }
}

void CRangeSlider::OnLButtonDown(UINT flags, CPoint point) {
  SetFocus();
  Invalidate(TRUE);
  if (m_nDragState == 0) {
    CRect client;
    GetClientRect(&client);
    const range_slider::Layout layout =
        range_slider::Compute(client, m_bHorizontal != 0, m_Min, m_Max, m_Left, m_Right);
    m_ptClick = point;
    // The first thumb wins where the rectangles overlap, so that thumbs that meet can still be parted.
    if (layout.FirstThumb().PtInRect(point)) {
      m_nDragState = 1;
    } else if (layout.SecondThumb().PtInRect(point)) {
      m_nDragState = 2;
    } else if (layout.BarBetweenThumbs().PtInRect(point)) {
      m_nDragState = 3;
    }
    if (m_nDragState != 0) {
      m_OldLeft = m_Left;
      m_OldRight = m_Right;
      SetCapture();
    }
  }
  CWnd::OnLButtonDown(flags, point);
}

void CRangeSlider::OnMouseMove(UINT flags, CPoint point) {
  if (m_nDragState != 0) {
    CRect client;
    GetClientRect(&client);
    const range_slider::Layout layout =
        range_slider::Compute(client, m_bHorizontal != 0, m_Min, m_Max, m_Left, m_Right);
    const int moved = m_bHorizontal ? m_ptClick.x - point.x : m_ptClick.y - point.y;
    double delta = layout.ValuePerPixel(m_Min, m_Max) * moved;
    if (m_Step > 0.0) {
      // Clamped so that a tiny step cannot overflow the whole-step count.
      const double steps = std::min(std::trunc(std::fabs(delta) / m_Step), 4294967295.0);
      delta = std::copysign(static_cast<std::uint32_t>(steps) * m_Step, delta);
    }
    const Thumb thumb = m_nDragState == 1 ? Thumb::First : m_nDragState == 2 ? Thumb::Second : Thumb::Both;
    Notify(MoveThumbs(thumb, delta, m_OldLeft, m_OldRight));
    Invalidate(TRUE);
  }
  CWnd::OnMouseMove(flags, point);
}

void CRangeSlider::OnLButtonUp(UINT flags, CPoint point) {
  if (m_nDragState != 0) {
    m_nDragState = 0;
    ::ReleaseCapture();
    Invalidate(TRUE);
  }
  CWnd::OnLButtonUp(flags, point);
}

void CRangeSlider::OnKeyDown(UINT ch, UINT repeat, UINT flags) {
  const Thumb thumb = ::GetKeyState(VK_LSHIFT) < 0   ? Thumb::First
                      : ::GetKeyState(VK_RSHIFT) < 0 ? Thumb::Second
                                                     : Thumb::Both;
  CRect client;
  GetClientRect(&client);
  const range_slider::Layout layout = range_slider::Compute(client, m_bHorizontal != 0, m_Min, m_Max, m_Left, m_Right);
  const double step = m_Step > 0.0 ? m_Step : layout.ValuePerPixel(m_Min, m_Max);
  const int lowerKey = m_bHorizontal ? VK_LEFT : VK_UP;
  const int raiseKey = m_bHorizontal ? VK_RIGHT : VK_DOWN;
  WPARAM code = RSN_LEFT;
  if (static_cast<int>(ch) == lowerKey || static_cast<int>(ch) == raiseKey) {
    const double delta = static_cast<int>(ch) == lowerKey ? step : -step;
    code = MoveThumbs(thumb, delta, m_Left, m_Right);
  }
  Notify(code);
  Invalidate(TRUE);
  CWnd::OnKeyDown(ch, repeat, flags);
}

void CRangeSlider::OnSetFocus(CWnd* oldWnd) {
  CWnd::OnSetFocus(oldWnd);
  Invalidate(TRUE);
}

void CRangeSlider::OnKillFocus(CWnd* newWnd) {
  CWnd::OnKillFocus(newWnd);
  Invalidate(TRUE);
}

// The glyphs are drawn in grey text while disabled; the background stays, so no erase.
void CRangeSlider::OnEnable(BOOL) { Invalidate(FALSE); }

UINT CRangeSlider::OnGetDlgCode() { return DLGC_WANTARROWS; }
