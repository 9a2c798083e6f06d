// The image window's messages: painting, the rubber band, keys, close and timer.
#include "view/image_window.h"

#include <winui/wingdi.h>

#include <algorithm>
#include <cstdlib>

namespace xelimg::view {

namespace {

constexpr char kClassName[] = "XelimgViewImage";
constexpr UINT_PTR kPlaybackTimer = 1;
constexpr COLORREF kBackground = RGB(32, 32, 32);
// A click that moves the mouse less than this is no drag.
constexpr int kDragThreshold = 3;

void RegisterImageClass(WNDPROC proc) {
  WNDCLASS existing;
  if (GetClassInfo(nullptr, kClassName, &existing)) return;
  WNDCLASS wc;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClass(&wc);
}

// Black outside, white inside: visible on every colour a profile can give.
void DrawOutline(HDC dc, RECT rect) {
  HBRUSH black = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  HBRUSH white = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  FrameRect(dc, &rect, black);
  InflateRect(&rect, -1, -1);
  FrameRect(dc, &rect, white);
}

RECT Normalised(POINT a, POINT b) {
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

ImageWindow::ImageWindow(const RECT& frame, ImageWindowEvents& events) : m_Events(events) {
  RegisterImageClass(&ImageWindow::WindowProc);
  m_Hwnd = CreateWindowEx(0, kClassName, "xelimg view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, frame.left, frame.top,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, this);
}

ImageWindow::~ImageWindow() {
  if (IsWindow(m_Hwnd)) DestroyWindow(m_Hwnd);
}

void ImageWindow::ShowPicture(const xelfw::Image& picture) {
  m_Width = picture.Width();
  m_Height = picture.Height();
  m_Pixels.resize(static_cast<std::size_t>(m_Width) * m_Height);
  const BYTE* row = picture.Data();
  for (UINT y = 0; y < m_Height; ++y, row += picture.Stride()) {
    for (UINT x = 0; x < m_Width; ++x) {
      const BYTE* rgb = row + 3 * x;
      m_Pixels[static_cast<std::size_t>(y) * m_Width + x] = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
    }
  }
  InvalidateRect(m_Hwnd, nullptr, FALSE);
}

void ImageWindow::ShowAoi(const std::optional<RECT>& imageArea) {
  m_Aoi = imageArea;
  InvalidateRect(m_Hwnd, nullptr, FALSE);
}

void ImageWindow::SetTitle(const std::string& title) { SetWindowText(m_Hwnd, title.c_str()); }

void ImageWindow::StartTimer(UINT intervalMs) { SetTimer(m_Hwnd, kPlaybackTimer, intervalMs, nullptr); }

LRESULT ImageWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<ImageWindow*>(reinterpret_cast<const CREATESTRUCT*>(lParam)->lpCreateParams);
    self->m_Hwnd = hwnd;
    SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ImageWindow*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProc(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtr(hwnd, GWLP_USERDATA, 0);
    self->m_Hwnd = nullptr;
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT ImageWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT mouse{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_SIZE:
      InvalidateRect(m_Hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN: {
      const RECT picture = PictureRect();
      if (m_Width == 0 || !PtInRect(&picture, mouse)) return 0;
      m_Dragging = true;
      m_DragStart = m_DragEnd = mouse;
      SetCapture(m_Hwnd);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (m_Dragging) {
        m_DragEnd = mouse;
        InvalidateRect(m_Hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (m_Dragging) EndDrag(mouse);
      return 0;
    case WM_CAPTURECHANGED:
      if (m_Dragging) {
        m_Dragging = false;
        InvalidateRect(m_Hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      switch (static_cast<int>(wParam)) {
        case VK_SPACE: m_Events.OnTogglePause(); return 0;
        case VK_LEFT: m_Events.OnStep(-1); return 0;
        case VK_RIGHT: m_Events.OnStep(1); return 0;
        case VK_ESCAPE: m_Events.OnQuit(); return 0;
        default: break;
      }
      break;
    case WM_CLOSE:
      m_Events.OnQuit();
      return 0;
    case WM_TIMER:
      if (wParam == kPlaybackTimer) m_Events.OnTick();
      return 0;
    case kFrameReadyMessage:
      m_Events.OnFrameReady();
      return 0;
    default:
      break;
  }
  return DefWindowProc(m_Hwnd, message, wParam, lParam);
}

void ImageWindow::EndDrag(POINT client) {
  m_Dragging = false;
  ReleaseCapture();
  const bool moved = std::abs(client.x - m_DragStart.x) >= kDragThreshold ||
                     std::abs(client.y - m_DragStart.y) >= kDragThreshold;
  const RECT area = Normalised(ToImage(m_DragStart), ToImage(client));
  if (moved && area.right > area.left && area.bottom > area.top) {
    m_Events.OnAoiChosen(area);
  } else {
    m_Events.OnAoiChosen(std::nullopt);
  }
  InvalidateRect(m_Hwnd, nullptr, FALSE);
}

RECT ImageWindow::PictureRect() const {
  RECT client;
  GetClientRect(m_Hwnd, &client);
  if (m_Width == 0 || m_Height == 0) return RECT{};
  const long long cw = client.right;
  const long long ch = client.bottom;
  // The larger scale that fits both ways, in integers so that edges land on whole pixels.
  long long w = cw;
  long long h = cw * m_Height / m_Width;
  if (h > ch) {
    h = ch;
    w = ch * m_Width / m_Height;
  }
  const LONG left = static_cast<LONG>((cw - w) / 2);
  const LONG top = static_cast<LONG>((ch - h) / 2);
  return RECT{left, top, left + static_cast<LONG>(w), top + static_cast<LONG>(h)};
}

POINT ImageWindow::ToImage(POINT client) const {
  const RECT picture = PictureRect();
  const LONG w = std::max<LONG>(1, picture.right - picture.left);
  const LONG h = std::max<LONG>(1, picture.bottom - picture.top);
  const LONG x = std::clamp<LONG>(client.x - picture.left, 0, w);
  const LONG y = std::clamp<LONG>(client.y - picture.top, 0, h);
  return POINT{static_cast<LONG>(static_cast<long long>(x) * m_Width / w),
               static_cast<LONG>(static_cast<long long>(y) * m_Height / h)};
}

RECT ImageWindow::ToClient(const RECT& imageArea) const {
  const RECT picture = PictureRect();
  const long long w = picture.right - picture.left;
  const long long h = picture.bottom - picture.top;
  return RECT{picture.left + static_cast<LONG>(imageArea.left * w / m_Width),
              picture.top + static_cast<LONG>(imageArea.top * h / m_Height),
              picture.left + static_cast<LONG>(imageArea.right * w / m_Width),
              picture.top + static_cast<LONG>(imageArea.bottom * h / m_Height)};
}

void ImageWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_Hwnd, &paint);
  RECT client;
  GetClientRect(m_Hwnd, &client);
  HBRUSH background = CreateSolidBrush(kBackground);
  FillRect(dc, &client, background);
  DeleteObject(background);
  if (m_Width != 0) {
    const RECT picture = PictureRect();
    BITMAPINFO info{};
    info.bmiHeader.biWidth = static_cast<LONG>(m_Width);
    info.bmiHeader.biHeight = -static_cast<LONG>(m_Height);
    StretchDIBits(dc, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top, 0, 0,
                  static_cast<int>(m_Width), static_cast<int>(m_Height), m_Pixels.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
    if (m_Aoi) DrawOutline(dc, ToClient(*m_Aoi));
    if (m_Dragging) DrawOutline(dc, Normalised(m_DragStart, m_DragEnd));
  }
  EndPaint(m_Hwnd, &paint);
}

}  // namespace xelimg::view
