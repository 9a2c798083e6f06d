// xelimg view on a real (virtual) display: it shows its window, takes the desktop's mouse and keys,
// and ends when the user asks. Skipped without a display.
#include "cli_expectations.h"
#include "x_display.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The presenter's window is named like the program; its pixels are the window layer's screen, so
// a point in it is a screen point of the viewer (the picture's client area starts at 12, 31).
constexpr char kPresenterTitle[] = "xelimg view";
constexpr auto kPatience = 20s;

class ViewerProcess {
 public:
  ViewerProcess() {
    // No state: the tests must neither read nor write the user's configuration.
    std::vector<std::string> args{XELIMG_PATH, "view", "--no-state", "--plugin", xelimg_test::PluginPath().string()};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_Pid, XELIMG_PATH, nullptr, nullptr, argv.data(), environ) != 0) m_Pid = 0;
  }
  ~ViewerProcess() {
    if (m_Pid != 0 && !m_Status) {
      kill(m_Pid, SIGKILL);
      waitpid(m_Pid, nullptr, 0);
    }
  }
  bool Started() const { return m_Pid != 0; }
  bool Running() { return !Reap(0ms); }
  // The exit code once it ended within `limit`; killed and nothing otherwise.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit) {
    if (!Reap(limit)) return std::nullopt;
    return WIFEXITED(*m_Status) ? WEXITSTATUS(*m_Status) : 128 + WTERMSIG(*m_Status);
  }

 private:
  bool Reap(std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!m_Status) {
      int status = 0;
      if (waitpid(m_Pid, &status, WNOHANG) == m_Pid) {
        m_Status = status;
      } else if (Clock::now() >= end) {
        return false;
      } else {
        std::this_thread::sleep_for(20ms);
      }
    }
    return true;
  }

  pid_t m_Pid = 0;
  std::optional<int> m_Status;
};

class ViewOnDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_PLUGIN();
    display = xelimg_test::XDisplay::Open();
    if (!display) GTEST_SKIP() << "no X display (DISPLAY unset, or built without X11); run under xvfb-run";
    // Without a window manager the focus follows the pointer, and SDL drops a click it handles
    // within moments of gaining the focus, which a slow (sanitized) build does all the time.
    setenv("SDL_MOUSE_FOCUS_CLICKTHROUGH", "1", 1);
    viewer.emplace();
    ASSERT_TRUE(viewer->Started());
    // The presenter may replace its first window when it sets up drawing, so the window counts
    // once it shows a picture.
    const auto end = Clock::now() + kPatience;
    while (!((window = display->FindWindow(kPresenterTitle)) && ShowsAPicture()) && Clock::now() < end &&
           viewer->Running()) {
      std::this_thread::sleep_for(50ms);
    }
    ASSERT_TRUE(window && ShowsAPicture()) << "the viewer showed no picture within the time allowed";
  }

  // The middle of the image window's client area leaves the desktop's teal and the window's dark
  // background once the first frame is painted.
  bool ShowsAPicture() {
    const std::optional<unsigned> middle = display->Pixel(*window, 252, 211);
    return middle && *middle != 0x008080u && *middle != 0x202020u;
  }

  // A drag over the picture chooses an area; the press also makes the image window active, so
  // that keys go to it.
  void DragOverThePicture() {
    display->Move(*window, 100, 100);
    display->Button(*window, true);
    display->Move(*window, 160, 140);
    display->Move(*window, 220, 200);
    display->Button(*window, false);
  }

  // The chosen area's outline, black outside and white inside, once it is on the display.
  bool ShowsOutline(int x, int y, bool horizontal) {
    const int insideX = horizontal ? x : x + 1;
    const int insideY = horizontal ? y + 1 : y;
    const auto end = Clock::now() + kPatience;
    while (Clock::now() < end) {
      if (display->Pixel(*window, x, y) == 0x000000u && display->Pixel(*window, insideX, insideY) == 0xFFFFFFu) {
        return true;
      }
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }

  std::optional<ViewerProcess> viewer;
  std::unique_ptr<xelimg_test::XDisplay> display;
  std::optional<unsigned long> window;
};

TEST_F(ViewOnDisplay, QuitsOnEscapeAfterTheMouseChoseAnArea) {
  DragOverThePicture();
  ASSERT_TRUE(viewer->Running()) << "the viewer ended on a mouse drag";
  // The drag from (100, 100) to (220, 200) covers picture pixels 58..137 x 46..111 at the
  // picture's scale of 1.5, whose outline has its top edge on row 100 and its left on column 99.
  EXPECT_TRUE(ShowsOutline(160, 100, true));
  EXPECT_TRUE(ShowsOutline(99, 150, false));
  display->Key(*window, "Escape");
  EXPECT_EQ(viewer->WaitForExit(kPatience), std::optional<int>(0)) << "Esc did not end the viewer in time";
}

TEST_F(ViewOnDisplay, QuitsWhenTheDisplayWindowIsClosed) {
  display->Key(*window, "space");  // pause and play on: the keys reach the viewer without ending it
  display->Key(*window, "space");
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(viewer->Running());
  display->RequestClose(*window);
  EXPECT_EQ(viewer->WaitForExit(kPatience), std::optional<int>(0))
      << "the close request did not end the viewer in time";
}

TEST_F(ViewOnDisplay, ALargerWindowGivesThePictureTheRoomTheDialogsLeave) {
  ASSERT_EQ(display->Size(*window), (std::pair{1024u, 768u}));
  // Small enough to stay on xvfb-run's 1280 x 1024 screen, whose pixels alone can be read back.
  display->Resize(*window, 1100, 880);
  // The picture window moves into the largest free part, between the "Temperature" and "Scale"
  // dialogs and under "Pseudo color", and the picture grows from 480 x 360 to 556 x 417 there.
  const auto showsPictureAt = [&](int x, int y) {
    const std::optional<unsigned> pixel = display->Pixel(*window, x, y);
    return pixel && *pixel != 0x008080u && *pixel != 0x202020u;
  };
  // Beyond the old screen's corner the new screen shows desktop once it is drawn.
  const auto end = Clock::now() + kPatience;
  while (!(display->Pixel(*window, 1080, 860) == 0x008080u && showsPictureAt(578, 583)) && Clock::now() < end) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_TRUE(showsPictureAt(578, 583)) << "the picture did not move into the free part";
  EXPECT_TRUE(showsPictureAt(302, 377) && showsPictureAt(854, 790)) << "the picture is not 556 x 417";
  EXPECT_EQ(display->Pixel(*window, 252, 211), std::optional<unsigned>(0x008080u)) << "the old place is left";
  EXPECT_EQ(display->Pixel(*window, 1080, 860), std::optional<unsigned>(0x008080u)) << "the desktop did not grow";
  EXPECT_EQ(display->Pixel(*window, 15, 500), std::optional<unsigned>(0xD4D0C8u)) << "the dialog moved";
  display->Key(*window, "Escape");
  EXPECT_EQ(viewer->WaitForExit(kPatience), std::optional<int>(0));
}

}  // namespace
