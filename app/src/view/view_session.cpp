// The viewer's session: where its windows go, how playback paces the processing thread, and the
// order in which everything is made and closed.
#include "view/view_session.h"

#include "cli_error.h"
#include "picture_file.h"
#include "plugin_objects.h"

#include <XelPseudoColor/SettingsRecord.h>
#include <winui/screen.h>

#include <cstdio>

namespace xelimg::view {

namespace {

// The screen keeps its default size; the windows are laid out on it without overlapping, the
// picture at one and a half times the demo scene's size.
constexpr POINT kImageOrigin{8, 8};
constexpr SIZE kImageClient{480, 360};
constexpr RECT kPseudoColorPlacement{504, 8, 504 + 354, 8 + 336};
constexpr RECT kScalePlacement{868, 8, 868 + 122, 8 + 504};
constexpr RECT kTemperaturePlacement{8, 408, 8 + 280, 408 + 100};

constexpr UINT kPseudoColorDialog = 0;
constexpr UINT kScaleDialog = 1;
constexpr UINT kTemperatureDialog = 0;

// 25 frames a second at most: the pace of a thermal camera, and time left for the dialogs.
constexpr UINT kFrameIntervalMs = 40;

RECT ImageWindowFrame() {
  RECT frame{kImageOrigin.x, kImageOrigin.y, kImageOrigin.x + kImageClient.cx, kImageOrigin.y + kImageClient.cy};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  OffsetRect(&frame, kImageOrigin.x - frame.left, kImageOrigin.y - frame.top);
  return frame;
}

void SwitchOnAutoContrast(CXelImgProcess_0& object) {
  TPseudoColorSettings settings = ReadPseudoColorSettings(object);
  settings.AutoMode = kPseudoColorAutoContrast;
  WritePseudoColorSettings(object, settings);
}

}  // namespace

ViewSession::ViewSession(const xelfw::PluginLibrary& library, std::unique_ptr<FrameSource> frames, bool autoContrast,
                         const std::optional<xelfw::TemperatureCalibration>& calibration)
    : m_Frames(std::move(frames)),
      m_PseudoColor(library, kPseudoColorType, xelfw::HostOptions{0, nullptr}),
      m_Temperature(library, kTemperatureType, xelfw::HostOptions{1, nullptr}),
      m_Window(ImageWindowFrame(), *this),
      m_PseudoColorDialogs(m_PseudoColor.Object()),
      m_TemperatureDialogs(m_Temperature.Object()),
      m_Processing(*m_Frames, m_PseudoColor, m_Temperature, m_Window.Handle(), ImageWindow::kFrameReadyMessage) {
  if (autoContrast) SwitchOnAutoContrast(m_PseudoColor.Object());
  if (calibration) {
    m_PseudoColor.Record().SetUnitCalibration(calibration);
    ImportCalibration(m_Temperature.Object(), *calibration, ObjectName(library, kTemperatureType));
  }
  OpenDialogs();
  UpdateTitle();
}

// Members go in reverse order: the processing thread stops before the dialogs close, the dialogs
// close before the window that owns them, and the objects go last.
ViewSession::~ViewSession() { m_Processing.Stop(); }

void ViewSession::OpenDialogs() {
  const HWND owner = m_Window.Handle();
  const struct {
    xelfw::DialogHost& host;
    UINT id;
    RECT placement;
  } dialogs[] = {{m_PseudoColorDialogs, kPseudoColorDialog, kPseudoColorPlacement},
                 {m_PseudoColorDialogs, kScaleDialog, kScalePlacement},
                 {m_TemperatureDialogs, kTemperatureDialog, kTemperaturePlacement}};
  for (const auto& dialog : dialogs) {
    if (!dialog.host.Open(dialog.id, owner, &dialog.placement)) {
      throw CommandError("the plug-in's dialog " + std::to_string(dialog.id) + " could not be opened");
    }
  }
  // Keys belong to the picture: space, arrows and Esc drive the sequence.
  SetActiveWindow(owner);
  SetFocus(owner);
}

void ViewSession::RunOnDisplay() {
  m_Window.StartTimer(kFrameIntervalMs);
  RequestFrame(0);
  winui::PresenterOptions options;
  options.title = "xelimg view";
  std::string error;
  const int code = winui::RunPresenter(options, &error);
  RethrowFailure();
  if (code == -1) throw CommandError("cannot show the viewer: " + error + " (--snapshot runs without one)");
}

void ViewSession::RunHeadless(UINT count, const std::filesystem::path& snapshot) {
  // The GUI thread waits while a frame is processed, so dialogs never read the settings the
  // frame's auto contrast is writing; their refreshes wait in the queue until the pump below.
  for (UINT frame = 0; frame < count; ++frame) {
    RequestFrame(frame % m_Frames->Count());
    m_Processing.WaitUntilIdle();
    winui::PumpMessages();
    RethrowFailure();
  }
  SavePicture(winui::ComposeScreen(), snapshot);
}

void ViewSession::RequestFrame(UINT index) {
  m_Next = (index + 1) % m_Frames->Count();
  m_Processing.Request(index);
}

void ViewSession::OnAoiChosen(const std::optional<RECT>& imageArea) {
  m_Processing.SetAoi(imageArea);
  m_Window.ShowAoi(imageArea);
  // A paused picture is measured again at once, so the reading follows the new area.
  if (m_Paused && m_HaveFrame) RequestFrame(m_Shown);
}

void ViewSession::OnTogglePause() {
  m_Paused = !m_Paused;
  m_Rate.Reset();
  UpdateTitle();
}

void ViewSession::OnStep(int frames) {
  m_Paused = true;
  const long long count = m_Frames->Count();
  RequestFrame(static_cast<UINT>(((static_cast<long long>(m_Shown) + frames) % count + count) % count));
}

void ViewSession::OnQuit() { PostQuitMessage(0); }

void ViewSession::OnTick() {
  if (!m_Paused && m_Processing.Idle()) RequestFrame(m_Next);
}

void ViewSession::OnFrameReady() {
  try {
    std::optional<ProcessedFrame> frame = m_Processing.TakeFrame();
    if (!frame) return;
    if (frame->sourceBits != m_DisplayUnitBits) RescaleDisplayUnit(frame->sourceBits);
    m_Window.ShowPicture(frame->picture);
    m_Shown = frame->index;
    m_HaveFrame = true;
    if (!m_Paused) m_Rate.Count();
    UpdateTitle();
  } catch (...) {
    // Exceptions stay out of the window layer's dispatch; the run ends and the caller sees it.
    m_Failure = std::current_exception();
    PostQuitMessage(kExitFailure);
  }
}

// The object scales its display unit to the grey range it knew at its last settings change, and a
// frame is what tells it that range: so the settings go back to it once the first frame, or the
// first of another depth, has been processed. Between runs, so that no frame reads them half written.
void ViewSession::RescaleDisplayUnit(UINT sourceBits) {
  m_Processing.WaitUntilIdle();
  CXelImgProcess_0& object = m_PseudoColor.Object();
  WritePseudoColorSettings(object, ReadPseudoColorSettings(object));
  m_DisplayUnitBits = sourceBits;
}

void ViewSession::UpdateTitle() {
  char title[96];
  if (m_Paused) {
    std::snprintf(title, sizeof title, "xelimg view - frame %u/%u - paused", m_Shown + 1, m_Frames->Count());
  } else {
    std::snprintf(title, sizeof title, "xelimg view - frame %u/%u - %.1f fps", m_Shown + 1, m_Frames->Count(),
                  m_Rate.PerSecond());
  }
  m_Window.SetTitle(title);
}

void ViewSession::RethrowFailure() {
  if (m_Failure) std::rethrow_exception(m_Failure);
}

}  // namespace xelimg::view
