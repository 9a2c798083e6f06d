// The viewer's image window: the current picture scaled to fit, the measured area drawn over it,
// a rubber band dragged with the left mouse button, and the keys that drive the sequence.
#pragma once

#include <xelfw/Image.h>
#include <winui/winuser.h>

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
  virtual void OnStep(int frames) = 0;
  virtual void OnQuit() = 0;  // Esc or the close box
  virtual void OnFrameReady() = 0;  // the message the processing thread posts
  virtual void OnTick() = 0;        // the playback timer

 protected:
  ~ImageWindowEvents() = default;
};

class ImageWindow {
 public:
  static constexpr UINT kFrameReadyMessage = WM_APP + 1;

  // `frame` is the outer rectangle in screen coordinates.
  ImageWindow(const RECT& frame, ImageWindowEvents& events);
  ~ImageWindow();
  ImageWindow(const ImageWindow&) = delete;
  ImageWindow& operator=(const ImageWindow&) = delete;

  HWND Handle() const { return m_Hwnd; }
  // An RGB picture with 8 bits a component.
  void ShowPicture(const xelfw::Image& picture);
  void ShowAoi(const std::optional<RECT>& imageArea);
  void SetTitle(const std::string& title);
  void StartTimer(UINT intervalMs);

 private:
  static LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  RECT PictureRect() const;  // where the picture goes in the client area, aspect kept
  POINT ToImage(POINT client) const;
  RECT ToClient(const RECT& imageArea) const;
  void EndDrag(POINT client);

  ImageWindowEvents& m_Events;
  HWND m_Hwnd = nullptr;
  UINT m_Width = 0;  // of the picture
  UINT m_Height = 0;
  std::vector<std::uint32_t> m_Pixels;  // 0x00RRGGBB, top-down rows
  std::optional<RECT> m_Aoi;           // image pixels
  bool m_Dragging = false;
  POINT m_DragStart{};
  POINT m_DragEnd{};
};

}  // namespace xelimg::view
