// A client of the X display the tests run on: finds a program's window by its title and sends it
// input and the window manager's close request, as a desktop would.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace xelimg_test {

class XDisplay {
 public:
  // Null when DISPLAY is unset, cannot be opened, or the tests were built without X11.
  static std::unique_ptr<XDisplay> Open();
  ~XDisplay();
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  // A top-level window whose title is `title`, once it is mapped.
  std::optional<unsigned long> FindWindow(const std::string& title);
  // The pointer to a point in the window's own coordinates.
  void Move(unsigned long window, int x, int y);
  // The left button, where the pointer is.
  void Button(unsigned long window, bool pressed);
  void Key(unsigned long window, const char* keysym);
  // The colour of one point of the window as 0xRRGGBB; none when the server cannot read it.
  std::optional<unsigned> Pixel(unsigned long window, int x, int y);
  // What dragging the window's frame does under a window manager.
  void Resize(unsigned long window, unsigned width, unsigned height);
  // The window's size as the server has it; none when it cannot tell.
  std::optional<std::pair<unsigned, unsigned>> Size(unsigned long window);
  // What the close box does under a window manager.
  void RequestClose(unsigned long window);

 private:
  struct State;
  explicit XDisplay(std::unique_ptr<State> state);
  std::unique_ptr<State> m_State;
};

}  // namespace xelimg_test
