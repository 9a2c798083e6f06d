// The presenter: the screen surface in a window of the real desktop, with the desktop's mouse and
// keyboard turned into injected input, while the calling thread's message loop runs.
#include <winui/presenter.h>
#include <winui/screen.h>

#include "display_probe.h"
#include "window.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#if WINUI_HAVE_SDL2
#include <SDL.h>
#endif

namespace winui {

#if WINUI_HAVE_SDL2
namespace {

int VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_DELETE:
      return VK_DELETE;
    case SDLK_INSERT:
      return VK_INSERT;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_END:
      return VK_END;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_LSHIFT:
      return VK_LSHIFT;
    case SDLK_RSHIFT:
      return VK_RSHIFT;
    case SDLK_LCTRL:
      return VK_LCONTROL;
    case SDLK_RCTRL:
      return VK_RCONTROL;
    case SDLK_LALT:
      return VK_LMENU;
    case SDLK_RALT:
      return VK_RMENU;
    case SDLK_CAPSLOCK:
      return VK_CAPITAL;
    case SDLK_PERIOD:
      return VK_OEM_PERIOD;
    case SDLK_COMMA:
      return VK_OEM_COMMA;
    case SDLK_MINUS:
      return VK_OEM_MINUS;
    case SDLK_EQUALS:
      return VK_OEM_PLUS;
    case SDLK_KP_0:
      return VK_NUMPAD0;
    case SDLK_KP_PERIOD:
      return VK_DECIMAL;
    case SDLK_KP_MINUS:
      return VK_SUBTRACT;
    case SDLK_KP_PLUS:
      return VK_ADD;
    case SDLK_KP_MULTIPLY:
      return VK_MULTIPLY;
    case SDLK_KP_DIVIDE:
      return VK_DIVIDE;
    default:
      return 0;
  }
}

MouseButton ButtonOf(Uint8 button) {
  return button == SDL_BUTTON_RIGHT    ? MouseButton::Right
         : button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                       : MouseButton::Left;
}

// Keys already type ASCII through TranslateMessage; only what no key types comes from text events,
// as Latin-1, the code page of the dialogs' strings.
std::string NonAsciiAsLatin1(const char* utf8) {
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
    if (*p < 0x80) continue;
    if ((*p & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) {
      const unsigned code = ((*p & 0x1F) << 6) | (p[1] & 0x3F);
      if (code < 0x100) out += static_cast<char>(code);
      ++p;
    }
  }
  return out;
}

constexpr int kDisplayTimeoutMs = 3000;

class SdlSession {
 public:
  ~SdlSession() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    if (started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  bool Open(const PresenterOptions& options, int width, int height, std::string* error) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return Fail(error);
    started_ = true;
    scale_ = std::max(1, options.scale);
    window_ = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale_,
                               height * scale_, SDL_WINDOW_RESIZABLE);
    if (!window_) return Fail(error);
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return Fail(error);
    SDL_StartTextInput();
    return MakeTexture(width, height, error);
  }
  // The desktop window's new size becomes the screen's: windows keep their places, what the larger
  // window adds is more desktop, and the top-level windows hear of it as of a new display mode.
  void Resized(int windowWidth, int windowHeight) {
    SetScreenSize(std::max(1, windowWidth / scale_), std::max(1, windowHeight / scale_));
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    MakeTexture(width, height, nullptr);
    const LPARAM size = MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height));
    for (const core::Window* top : core::TopLevelWindows()) PostMessage(top->handle, WM_DISPLAYCHANGE, 32, size);
  }
  void Show(const Surface& screen) {
    if (!texture_ || screen.Width() != textureWidth_ || screen.Height() != textureHeight_) return;
    SDL_UpdateTexture(texture_, nullptr, screen.Row(0), screen.Width() * 4);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }
  // Where the mouse is on the screen. Mouse events come scaled to the renderer's logical size, the
  // screen's; the mouse state does not.
  POINT MouseOnScreen() const {
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    return POINT{x / scale_, y / scale_};
  }

 private:
  static bool Fail(std::string* error) {
    if (error) *error = std::string("cannot open the display: ") + SDL_GetError();
    return false;
  }
  bool MakeTexture(int width, int height, std::string* error) {
    if (texture_) SDL_DestroyTexture(texture_);
    SDL_RenderSetLogicalSize(renderer_, width, height);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    textureWidth_ = width;
    textureHeight_ = height;
    return texture_ || Fail(error);
  }

  bool started_ = false;
  int scale_ = 1;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
};

// Hands one desktop event on as injected input; false when the display window was closed.
bool Forward(const SDL_Event& e, SdlSession& session) {
  switch (e.type) {
    case SDL_QUIT:
      return false;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) session.Resized(e.window.data1, e.window.data2);
      break;
    case SDL_MOUSEMOTION:
      InjectMouseMove(POINT{e.motion.x, e.motion.y});
      break;
    case SDL_MOUSEBUTTONDOWN:
      InjectMouseDown(POINT{e.button.x, e.button.y}, ButtonOf(e.button.button));
      break;
    case SDL_MOUSEBUTTONUP:
      InjectMouseUp(POINT{e.button.x, e.button.y}, ButtonOf(e.button.button));
      break;
    case SDL_MOUSEWHEEL: {
      const int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (notches != 0) InjectMouseWheel(session.MouseOnScreen(), notches);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (const int vk = VirtualKeyOf(e.key.keysym.sym)) {
        if (e.type == SDL_KEYDOWN)
          InjectKeyDown(vk);
        else
          InjectKeyUp(vk);
      }
      break;
    case SDL_TEXTINPUT:
      InjectText(NonAsciiAsLatin1(e.text.text));
      break;
    default:
      break;
  }
  return true;
}

}  // namespace
#endif

int RunPresenter(const PresenterOptions& options, std::string* error) {
#if WINUI_HAVE_SDL2
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (!display && !wayland) {
    if (error) *error = "no display (DISPLAY is not set)";
    return -1;
  }
  // SDL falls back to other video drivers when the one the environment names fails, and some of
  // them run without showing anything; the display named is the one used, or none.
  if (!std::getenv("SDL_VIDEODRIVER")) SDL_SetHint(SDL_HINT_VIDEODRIVER, display ? "x11" : "wayland");
  std::string why;
  if (display && !core::DisplayAnswers(display, kDisplayTimeoutMs, &why)) {
    if (error) *error = std::string("cannot open display '") + display + "': " + why;
    return -1;
  }
  SdlSession session;
  if (!session.Open(options, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), error)) return -1;
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (!Forward(event, session)) return 0;
    }
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      if (PreTranslateForDialogs(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    if (core::TopLevelWindows().empty()) return 0;
    session.Show(ComposeScreen());
    if (options.stopAfterMs &&
        std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(options.stopAfterMs)) {
      return 0;
    }
    SDL_WaitEventTimeout(nullptr, 15);
  }
#else
  (void)options;
  if (error) *error = "this build of the window layer has no display support (SDL2)";
  return -1;
#endif
}

}  // namespace winui
