// The image window's messages: painting, the rubber band, zoom and pan, the status line, the
// menu, keys, close and timer.
#include "view/image_window.h"
#include "host_kit.h"

#include <winui/screen.h>
#include <winui/wingdi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace xelimg::view {

namespace {

constexpr char kClassName[] = "XelimgViewImage";
constexpr UINT_PTR kPlaybackTimer = 1;
constexpr COLORREF kBackground = RGB(32, 32, 32);
constexpr COLORREF kStatusFace = RGB(212, 208, 200);
// A click that moves the mouse less than this is no drag.
constexpr int kDragThreshold = 3;
// One wheel notch or one +/- key: two notches double the size.
const double kZoomStep = std::sqrt(2.0);
constexpr int kMenuRowHeight = 18;
constexpr int kMenuWidth = 210;
// Accelerator commands: the keys the window handles itself go by their virtual-key code, the menu's
// entries from here on by their index.
constexpr WORD kMenuCommandBase = 0x100;
// Esc is no accelerator: in a dialog it closes the dialog, in the picture window it quits.
constexpr int kWindowKeys[] = {VK_LEFT, VK_RIGHT, VK_HOME, VK_END,      VK_PRIOR,    VK_NEXT,
                               '1',     '0',      VK_ADD,  VK_OEM_PLUS, VK_SUBTRACT, VK_OEM_MINUS};

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

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

RECT Normalised(POINT a, POINT b) {
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

std::string KeyName(int key, BYTE modifiers) {
  std::string name = (modifiers & FCONTROL ? "Ctrl+" : "");
  if (modifiers & FALT) name += "Alt+";
  if (modifiers & FSHIFT) name += "Shift+";
  if (key >= VK_F1 && key <= VK_F1 + 11) return name + "F" + std::to_string(key - VK_F1 + 1);
  if (key == VK_SPACE) return name + "Space";
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return name + std::string(1, static_cast<char>(key));
  return {};
}

}  // namespace

ImageWindow::ImageWindow(const RECT& frame, std::vector<MenuEntry> menu, ImageWindowEvents& events)
    : m_Events(events), m_Menu(std::move(menu)) {
  RegisterImageClass(&ImageWindow::WindowProc);
  m_Hwnd = CreateWindowEx(0, kClassName, "xelimg view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, frame.left, frame.top,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, this);
  InstallAccelerators();
}

ImageWindow::~ImageWindow() {
  winui::SetLoopAccelerators(nullptr, nullptr);
  DestroyAcceleratorTable(m_Accelerators);
  if (IsWindow(m_Hwnd)) DestroyWindow(m_Hwnd);
}

void ImageWindow::InstallAccelerators() {
  std::vector<ACCEL> table;
  for (const int key : kWindowKeys) table.push_back({FVIRTKEY, static_cast<WORD>(key), static_cast<WORD>(key)});
  for (std::size_t i = 0; i < m_Menu.size(); ++i) {
    table.push_back({static_cast<BYTE>(FVIRTKEY | m_Menu[i].modifiers), static_cast<WORD>(m_Menu[i].key),
                     static_cast<WORD>(kMenuCommandBase + i)});
  }
  m_Accelerators = CreateAcceleratorTable(table.data(), static_cast<int>(table.size()));
  winui::SetLoopAccelerators(m_Hwnd, m_Accelerators);
}

SIZE ImageWindow::FrameSizeFor(SIZE pictureArea) {
  RECT frame{0, 0, pictureArea.cx, pictureArea.cy + kStatusHeight};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
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
  m_View.SetArea(PictureArea(), m_Width, m_Height);
  InvalidateRect(m_Hwnd, nullptr, FALSE);
}

void ImageWindow::ShowAoi(const std::optional<RECT>& imageArea) {
  m_Aoi = imageArea;
  InvalidateRect(m_Hwnd, nullptr, FALSE);
}

void ImageWindow::SetTitle(const std::string& title) { SetWindowText(m_Hwnd, title.c_str()); }

void ImageWindow::SetStatus(const std::string& text) {
  if (text == m_Status) return;
  m_Status = text;
  InvalidateRect(m_Hwnd, nullptr, FALSE);
}

void ImageWindow::StartTimer(UINT intervalMs) { SetTimer(m_Hwnd, kPlaybackTimer, intervalMs, nullptr); }

void ImageWindow::SetZoom(Zoom zoom) {
  if (zoom == Zoom::Fit) {
    m_View.Fit();
  } else {
    m_View.ActualSize();
  }
  ViewChanged();
}

std::optional<POINT> ImageWindow::ScreenPointOf(POINT imagePoint) const {
  if (imagePoint.x < 0 || imagePoint.y < 0 || static_cast<UINT>(imagePoint.x) >= m_Width ||
      static_cast<UINT>(imagePoint.y) >= m_Height) {
    return std::nullopt;
  }
  POINT client = m_View.ToClient(imagePoint.x + 0.5, imagePoint.y + 0.5);
  const RECT area = PictureArea();
  if (!PtInRect(&area, client)) return std::nullopt;
  ClientToScreen(m_Hwnd, &client);
  return client;
}

bool ImageWindow::PointAt(POINT imagePoint) {
  const std::optional<POINT> screen = ScreenPointOf(imagePoint);
  if (!screen) return false;
  SetCursorPos(screen->x, screen->y);
  POINT client = *screen;
  ScreenToClient(m_Hwnd, &client);
  m_Mouse = client;
  m_PointedPixel = imagePoint;
  m_CursorPixel = imagePoint;
  m_Events.OnCursor(m_CursorPixel);
  return true;
}

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
      m_View.SetArea(PictureArea(), m_Width, m_Height);
      ViewChanged();
      return 0;
    case WM_LBUTTONDOWN: {
      if (m_MenuAt) {
        const RECT menu = MenuRect();
        const bool inside = PtInRect(&menu, mouse);
        m_MenuAt.reset();
        InvalidateRect(m_Hwnd, nullptr, FALSE);
        if (inside) m_Events.OnCommand(static_cast<UINT>((mouse.y - menu.top - 2) / kMenuRowHeight));
        return 0;
      }
      const RECT picture = m_View.PictureRect();
      const RECT area = PictureArea();
      if (m_Width == 0 || !PtInRect(&picture, mouse) || !PtInRect(&area, mouse)) return 0;
      SetCapture(m_Hwnd);
      // Shift turns the drag into a pan, so that a plain drag keeps choosing the area.
      if (wParam & MK_SHIFT) {
        m_PanFrom = mouse;
        return 0;
      }
      m_Dragging = true;
      m_DragStart = m_DragEnd = mouse;
      return 0;
    }
    case WM_MBUTTONDOWN:
      if (m_Width == 0) return 0;
      m_PanFrom = mouse;
      SetCapture(m_Hwnd);
      return 0;
    case WM_RBUTTONUP:
      m_MenuAt = mouse;
      InvalidateRect(m_Hwnd, nullptr, FALSE);
      return 0;
    case WM_MOUSEMOVE:
      if (m_PanFrom) {
        m_View.Pan(mouse.x - m_PanFrom->x, mouse.y - m_PanFrom->y);
        m_PanFrom = mouse;
        InvalidateRect(m_Hwnd, nullptr, FALSE);
      }
      if (m_Dragging) {
        m_DragEnd = mouse;
        InvalidateRect(m_Hwnd, nullptr, FALSE);
      }
      TrackCursor(mouse);
      return 0;
    case WM_MOUSEWHEEL: {
      POINT client = mouse;  // the wheel's point is a screen point
      ScreenToClient(m_Hwnd, &client);
      m_View.ZoomAt(client, std::pow(kZoomStep, GET_WHEEL_DELTA_WPARAM(wParam) / static_cast<double>(WHEEL_DELTA)));
      ViewChanged();
      return 0;
    }
    case WM_LBUTTONUP:
      if (m_Dragging) EndDrag(mouse);
      if (m_PanFrom) ReleaseCapture();
      return 0;
    case WM_MBUTTONUP:
      if (m_PanFrom) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      m_PanFrom.reset();
      if (m_Dragging) {
        m_Dragging = false;
        InvalidateRect(m_Hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      if (HandleKey(static_cast<int>(wParam))) return 0;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) != 1) break;  // from an accelerator
      if (LOWORD(wParam) >= kMenuCommandBase) {
        m_Events.OnCommand(LOWORD(wParam) - kMenuCommandBase);
      } else {
        HandleKey(LOWORD(wParam));
      }
      return 0;
    case WM_DISPLAYCHANGE:
      m_Events.OnScreenResized();
      return 0;
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

bool ImageWindow::HandleKey(int key) {
  if (m_MenuAt && key == VK_ESCAPE) {
    m_MenuAt.reset();
    InvalidateRect(m_Hwnd, nullptr, FALSE);
    return true;
  }
  switch (key) {
    case VK_SPACE:
      m_Events.OnTogglePause();
      return true;
    case VK_LEFT:
      m_Events.OnJump(ImageWindowEvents::Jump::Back);
      return true;
    case VK_RIGHT:
      m_Events.OnJump(ImageWindowEvents::Jump::Forward);
      return true;
    case VK_HOME:
      m_Events.OnJump(ImageWindowEvents::Jump::First);
      return true;
    case VK_END:
      m_Events.OnJump(ImageWindowEvents::Jump::Last);
      return true;
    case VK_PRIOR:
      m_Events.OnJump(ImageWindowEvents::Jump::PageBack);
      return true;
    case VK_NEXT:
      m_Events.OnJump(ImageWindowEvents::Jump::PageForward);
      return true;
    case VK_ESCAPE:
      m_Events.OnQuit();
      return true;
    case '1':
      SetZoom(Zoom::ActualSize);
      return true;
    case '0':
      SetZoom(Zoom::Fit);
      return true;
    case VK_OEM_PLUS:
    case VK_ADD:
      m_View.ZoomAtMiddle(kZoomStep);
      ViewChanged();
      return true;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
      m_View.ZoomAtMiddle(1.0 / kZoomStep);
      ViewChanged();
      return true;
    default:
      return false;
  }
}

// After a zoom, a pan or a resize the pixel under a still mouse is another one.
void ImageWindow::ViewChanged() {
  m_PointedPixel.reset();
  if (m_Mouse) TrackCursor(*m_Mouse);
  InvalidateRect(m_Hwnd, nullptr, FALSE);
}

void ImageWindow::TrackCursor(POINT client) {
  // The pixel PointAt named stays under a mouse that has not moved since, until the view changes.
  if (m_PointedPixel && m_Mouse && client.x == m_Mouse->x && client.y == m_Mouse->y) return;
  m_PointedPixel.reset();
  m_Mouse = client;
  const RECT area = PictureArea();
  const std::optional<POINT> pixel = PtInRect(&area, client) ? m_View.ToImage(client) : std::nullopt;
  const bool same = pixel.has_value() == m_CursorPixel.has_value() &&
                    (!pixel || (pixel->x == m_CursorPixel->x && pixel->y == m_CursorPixel->y));
  m_CursorPixel = pixel;
  if (!same) m_Events.OnCursor(pixel);
}

void ImageWindow::EndDrag(POINT client) {
  m_Dragging = false;
  ReleaseCapture();
  const bool moved =
      std::abs(client.x - m_DragStart.x) >= kDragThreshold || std::abs(client.y - m_DragStart.y) >= kDragThreshold;
  const RECT area = Normalised(m_View.ToImageClamped(m_DragStart), m_View.ToImageClamped(client));
  if (moved && area.right > area.left && area.bottom > area.top) {
    m_Events.OnAoiChosen(area);
  } else {
    m_Events.OnAoiChosen(std::nullopt);
  }
  InvalidateRect(m_Hwnd, nullptr, FALSE);
}

RECT ImageWindow::PictureArea() const {
  RECT client;
  GetClientRect(m_Hwnd, &client);
  client.bottom = std::max(client.top, client.bottom - kStatusHeight);
  return client;
}

RECT ImageWindow::MenuRect() const {
  if (!m_MenuAt) return RECT{};
  return RECT{m_MenuAt->x, m_MenuAt->y, m_MenuAt->x + kMenuWidth,
              m_MenuAt->y + 4 + kMenuRowHeight * static_cast<LONG>(m_Menu.size())};
}

void ImageWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_Hwnd, &paint);
  RECT client;
  GetClientRect(m_Hwnd, &client);
  const RECT area = PictureArea();
  Fill(dc, area, kBackground);
  if (m_Width != 0) {
    const RECT picture = m_View.PictureRect();
    RECT shown;
    // Only the part in sight is drawn: a picture zoomed far in is much larger than the window.
    if (IntersectRect(&shown, &picture, &area)) {
      const double scale = m_View.Scale();
      const int srcX = static_cast<int>((shown.left - picture.left) / scale);
      const int srcY = static_cast<int>((shown.top - picture.top) / scale);
      const int srcRight =
          std::min<int>(static_cast<int>(m_Width), static_cast<int>(std::ceil((shown.right - picture.left) / scale)));
      const int srcBottom =
          std::min<int>(static_cast<int>(m_Height), static_cast<int>(std::ceil((shown.bottom - picture.top) / scale)));
      const POINT at = m_View.ToClient(srcX, srcY);
      const POINT end = m_View.ToClient(srcRight, srcBottom);
      BITMAPINFO info{};
      info.bmiHeader.biWidth = static_cast<LONG>(m_Width);
      info.bmiHeader.biHeight = -static_cast<LONG>(m_Height);
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
      StretchDIBits(dc, at.x, at.y, end.x - at.x, end.y - at.y, srcX, srcY, srcRight - srcX, srcBottom - srcY,
                    m_Pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
      if (m_Aoi) DrawOutline(dc, m_View.ToClient(*m_Aoi));
      if (m_Dragging) DrawOutline(dc, Normalised(m_DragStart, m_DragEnd));
      RestoreDC(dc, saved);
    }
  }
  PaintStatus(dc, client);
  if (m_MenuAt) PaintMenu(dc);
  EndPaint(m_Hwnd, &paint);
}

void ImageWindow::PaintStatus(HDC dc, const RECT& client) {
  RECT line{client.left, std::max(client.top, client.bottom - kStatusHeight), client.right, client.bottom};
  Fill(dc, line, kStatusFace);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  InflateRect(&line, -4, 0);
  DrawText(dc, m_Status.c_str(), static_cast<int>(m_Status.size()), &line, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
}

void ImageWindow::PaintMenu(HDC dc) {
  RECT menu = MenuRect();
  Fill(dc, menu, kStatusFace);
  DrawEdge(dc, &menu, EDGE_RAISED, BF_RECT);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  for (std::size_t i = 0; i < m_Menu.size(); ++i) {
    RECT row{menu.left + 8, menu.top + 2 + static_cast<LONG>(i) * kMenuRowHeight, menu.right - 8,
             menu.top + 2 + static_cast<LONG>(i + 1) * kMenuRowHeight};
    DrawText(dc, m_Menu[i].text.c_str(), static_cast<int>(m_Menu[i].text.size()), &row,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    const std::string key = KeyName(m_Menu[i].key, m_Menu[i].modifiers);
    DrawText(dc, key.c_str(), static_cast<int>(key.size()), &row, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
}

}  // namespace xelimg::view
