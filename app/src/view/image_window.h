// The viewer's image window: the current picture, fitted or zoomed and panned, the measured area
// drawn over it, a rubber band dragged with the left mouse button, a status line under it, a small
// menu on the right button, and the keys that drive the sequence.
#pragma once

#include "host_kit.h"
#include "view/picture_view.h"

#include <winui/winuser.h>
#include <xelfw/Image.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace xelimg::view {

// What the user asks of the image window; called on the GUI thread from its message handlers.
class ImageWindowEvents {
 public:
  virtual void OnAoiChosen(const std::optional<RECT>& imageArea) = 0;  // none: a click, the whole image
  virtual void OnTogglePause() = 0;
  enum class Jump { Back, Forward, First, Last, PageBack, PageForward };
  virtual void OnJump(Jump jump) = 0;
  virtual void OnQuit() = 0;        // Esc or the close box
  virtual void OnFrameReady() = 0;  // the message the processing thread posts
  virtual void OnTick() = 0;        // the playback timer
  // The picture pixel under the mouse; none when the mouse is not over the picture.
  virtual void OnCursor(const std::optional<POINT>& imagePoint) = 0;
  virtual void OnCommand(UINT command) = 0;  // an entry of the menu, chosen or by its key
  virtual void OnScreenResized() = 0;

 protected:
  ~ImageWindowEvents() = default;
};

// One entry of the window's menu: what it says, and the key that does the same.
struct MenuEntry {
  std::string text;
  int key;             // virtual-key code
  BYTE modifiers = 0;  // FSHIFT, FCONTROL, FALT held with it
};

class ImageWindow {
 public:
  static constexpr UINT kFrameReadyMessage = WM_APP + 1;
  static constexpr int kStatusHeight = 18;

  // `frame` is the outer rectangle in screen coordinates; the menu's entries are reported by index.
  // The window's keys are the message loop's accelerators: they work whichever window has the focus.
  ImageWindow(const RECT& frame, std::vector<MenuEntry> menu, ImageWindowEvents& events);
  ~ImageWindow();
  ImageWindow(const ImageWindow&) = delete;
  ImageWindow& operator=(const ImageWindow&) = delete;

  HWND Handle() const { return m_Hwnd; }
  // An RGB picture with 8 bits a component.
  void ShowPicture(const xelfw::Image& picture);
  void ShowAoi(const std::optional<RECT>& imageArea);
  void SetTitle(const std::string& title);
  void SetStatus(const std::string& text);
  const std::string& Status() const { return m_Status; }  // Windows-1252
  void StartTimer(UINT intervalMs);
  enum class Zoom { Fit, ActualSize };
  void SetZoom(Zoom zoom);

  // The picture pixel under the mouse, as OnCursor last told it.
  std::optional<POINT> CursorPixel() const { return m_CursorPixel; }
  // Puts the mouse on the screen point that shows a picture pixel; the pixel counts as the one under
  // it, also where a screen pixel shows several picture pixels, until the mouse or the view moves.
  // False when the pixel is not in sight.
  bool PointAt(POINT imagePoint);
  // The picture's size (0 before the first), and the window's outer size for a picture area of the given size.
  SIZE PictureSize() const { return SIZE{static_cast<LONG>(m_Width), static_cast<LONG>(m_Height)}; }
  static SIZE FrameSizeFor(SIZE pictureArea);

 private:
  static LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleKey(int key);
  std::optional<POINT> ScreenPointOf(POINT imagePoint) const;  // none when it is not in sight
  void InstallAccelerators();
  void Paint();
  void PaintStatus(HDC dc, const RECT& client);
  void PaintMenu(HDC dc);
  RECT MenuRect() const;
  RECT PictureArea() const;  // the client area above the status line
  void ViewChanged();
  void TrackCursor(POINT client);
  void EndDrag(POINT client);

  ImageWindowEvents& m_Events;
  const std::vector<MenuEntry> m_Menu;
  HWND m_Hwnd = nullptr;
  UINT m_Width = 0;  // of the picture
  UINT m_Height = 0;
  std::vector<std::uint32_t> m_Pixels;  // 0x00RRGGBB, top-down rows
  PictureView m_View;
  std::optional<RECT> m_Aoi;  // image pixels
  std::string m_Status;
  std::optional<POINT> m_Mouse;  // client point of the last mouse move
  std::optional<POINT> m_CursorPixel;
  std::optional<POINT> m_PointedPixel;  // set by PointAt, until the mouse moves
  bool m_Dragging = false;
  POINT m_DragStart{};
  POINT m_DragEnd{};
  std::optional<POINT> m_PanFrom;  // client point the pan drag was last at
  std::optional<POINT> m_MenuAt;   // client point of an open menu's top-left corner
  HACCEL m_Accelerators = nullptr;
};

}  // namespace xelimg::view
