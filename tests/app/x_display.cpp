// Input for another process's window through plain Xlib: the pointer really moves, buttons and keys
// are sent events. No extension and no tool that a test machine might lack.
#include "x_display.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#ifdef XEL_TEST_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace xelimg_test {

#ifdef XEL_TEST_HAVE_X11

struct XDisplay::State {
  Display* display = nullptr;
};

namespace {

bool IsMappedWithTitle(Display* display, Window window, const std::string& title) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
  char* name = nullptr;
  if (!XFetchName(display, window, &name) || !name) return false;
  const bool same = title == name;
  XFree(name);
  return same;
}

// Windows of the program under test come and go while it starts; a request about one that just
// went away is no reason to end the test program, as Xlib's default handler would.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

void SendButton(Display* display, Window window, int type) {
  XEvent event{};
  event.xbutton.type = type;
  event.xbutton.display = display;
  event.xbutton.window = window;
  event.xbutton.root = DefaultRootWindow(display);
  event.xbutton.same_screen = True;
  event.xbutton.button = Button1;
  event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
  XSendEvent(display, window, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
  XFlush(display);
}

}  // namespace

std::unique_ptr<XDisplay> XDisplay::Open() {
  if (!std::getenv("DISPLAY")) return nullptr;
  // A server whose last client just left resets itself and refuses connections for a moment.
  Display* display = XOpenDisplay(nullptr);
  for (int attempt = 0; !display && attempt < 40; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    display = XOpenDisplay(nullptr);
  }
  if (!display) return nullptr;
  XSetErrorHandler(IgnoreError);
  auto state = std::make_unique<State>();
  state->display = display;
  return std::unique_ptr<XDisplay>(new XDisplay(std::move(state)));
}

XDisplay::~XDisplay() { XCloseDisplay(m_State->display); }

std::optional<unsigned long> XDisplay::FindWindow(const std::string& title) {
  Display* display = m_State->display;
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::optional<unsigned long> found;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; ++i) {
      if (IsMappedWithTitle(display, children[i], title)) found = children[i];
    }
    if (children) XFree(children);
  }
  return found;
}

void XDisplay::Button(unsigned long window, bool pressed) {
  SendButton(m_State->display, window, pressed ? ButtonPress : ButtonRelease);
}

void XDisplay::Move(unsigned long window, int x, int y) {
  XWarpPointer(m_State->display, None, window, 0, 0, 0, 0, x, y);
  XFlush(m_State->display);
}

void XDisplay::Key(unsigned long window, const char* keysym) {
  Display* display = m_State->display;
  XEvent event{};
  event.xkey.display = display;
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(display);
  event.xkey.same_screen = True;
  event.xkey.keycode = XKeysymToKeycode(display, XStringToKeysym(keysym));
  for (const int type : {KeyPress, KeyRelease}) {
    event.xkey.type = type;
    XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
  }
  XFlush(display);
}

std::optional<unsigned> XDisplay::Pixel(unsigned long window, int x, int y) {
  XImage* image = XGetImage(m_State->display, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return std::nullopt;
  const unsigned long value = XGetPixel(image, 0, 0);
  // Each channel scaled from its mask to 8 bits, whatever the visual's layout.
  const auto channel = [value](unsigned long mask) {
    if (mask == 0) return 0u;
    unsigned long bits = value & mask;
    while ((mask & 1) == 0) {
      mask >>= 1;
      bits >>= 1;
    }
    return static_cast<unsigned>(bits * 255 / mask);
  };
  const unsigned rgb = channel(image->red_mask) << 16 | channel(image->green_mask) << 8 | channel(image->blue_mask);
  XDestroyImage(image);
  return rgb;
}

void XDisplay::Resize(unsigned long window, unsigned width, unsigned height) {
  XResizeWindow(m_State->display, window, width, height);
  XFlush(m_State->display);
}

std::optional<std::pair<unsigned, unsigned>> XDisplay::Size(unsigned long window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(m_State->display, window, &attributes)) return std::nullopt;
  return std::pair{static_cast<unsigned>(attributes.width), static_cast<unsigned>(attributes.height)};
}

void XDisplay::RequestClose(unsigned long window) {
  Display* display = m_State->display;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

#else

struct XDisplay::State {};

std::unique_ptr<XDisplay> XDisplay::Open() { return nullptr; }
XDisplay::~XDisplay() = default;
std::optional<unsigned long> XDisplay::FindWindow(const std::string&) { return std::nullopt; }
void XDisplay::Button(unsigned long, bool) {}
void XDisplay::Move(unsigned long, int, int) {}
void XDisplay::Key(unsigned long, const char*) {}
std::optional<unsigned> XDisplay::Pixel(unsigned long, int, int) { return std::nullopt; }
void XDisplay::Resize(unsigned long, unsigned, unsigned) {}
std::optional<std::pair<unsigned, unsigned>> XDisplay::Size(unsigned long) { return std::nullopt; }
void XDisplay::RequestClose(unsigned long) {}

#endif

XDisplay::XDisplay(std::unique_ptr<State> state) : m_State(std::move(state)) {}

}  // namespace xelimg_test
