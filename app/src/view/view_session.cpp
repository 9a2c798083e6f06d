// The viewer's session: where its windows go, how playback paces the processing thread, what the
// menu, the keys and the dialogs' user buttons do, and the order in which everything is made and closed.
#include "view/view_session.h"
#include "host_kit.h"

#include <xelhost/errors.h>
#include <xelhost/image_io.h>
#include <xelhost/marks.h>
#include <xelhost/picture_file.h>
#include "exit_status.h"
#include "view/window_layout.h"

#include <XelPseudoColor/SettingsRecord.h>
#include <winui/presenter.h>
#include <winui/screen.h>
#include <xelfw/IniStore.h>
#include <xelfw/TextEncoding.h>

#include <algorithm>
#include <cstdio>

namespace xelimg::view {

namespace {

// The dialogs' places on the default screen; the picture window takes what they leave free.
constexpr RECT kPseudoColorPlacement{504, 8, 504 + 354, 8 + 336};
constexpr RECT kScalePlacement{868, 8, 868 + 122, 8 + 504};
constexpr RECT kTemperaturePlacement{8, 426, 8 + 280, 426 + 100};

constexpr UINT kPseudoColorDialog = 0;
constexpr UINT kScaleDialog = 1;
constexpr UINT kTemperatureDialog = 0;

// Names in the state file.
constexpr char kPseudoColorName[] = "PseudoColor";
constexpr char kScaleName[] = "Scale";
constexpr char kTemperatureName[] = "Temperature";

// What the user buttons do, said on the buttons themselves.
constexpr char kFreezeCaption[] = "Freeze";
constexpr char kActualSizeCaption[] = "Zoom 1:1";
constexpr char kSaveCaption[] = "Save PNG";
constexpr UINT kFreezeBit = 0x1;
constexpr UINT kActualSizeBit = 0x2;

// 25 frames a second at most: the pace of a thermal camera, and time left for the dialogs.
constexpr UINT kFrameIntervalMs = 40;

// PgUp and PgDn move by a tenth of the sequence.
constexpr UINT kPageParts = 10;

// Where the picture window is made; LayOut places it once the dialogs are open.
constexpr RECT kFirstImageFrame{8, 8, 496, 418};

// A saved place counts only when some of its caption is on today's screen.
RECT PlacementOf(const std::optional<ViewState>& state, const char* name, const RECT& fallback) {
  if (!state) return fallback;
  const auto saved = state->windows.find(name);
  if (saved == state->windows.end()) return fallback;
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const RECT caption{saved->second.left, saved->second.top, saved->second.right, saved->second.top + 20};
  RECT visible;
  return IntersectRect(&visible, &caption, &screen) ? saved->second : fallback;
}

void SwitchOnAutoContrast(CXelImgProcess_0& object) {
  TPseudoColorSettings settings = ReadPseudoColorSettings(object);
  settings.AutoMode = kPseudoColorAutoContrast;
  WritePseudoColorSettings(object, settings);
}

bool Fits(const RECT& area, const xelfw::Image& frame) {
  return area.left >= 0 && area.top >= 0 && area.right <= static_cast<LONG>(frame.Width()) &&
         area.bottom <= static_cast<LONG>(frame.Height());
}

RECT WindowRectOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

}  // namespace

std::size_t ShownFrameBytes(const xelhost::ImageFileInfo& frame) {
  const std::size_t pixels = std::size_t{frame.width} * frame.height;
  constexpr std::size_t kPictureBytes = 3;  // 8-bit RGB
  constexpr std::size_t kWindowBytes = 4;   // one 32-bit word a pixel
  return 2 * (pixels * kPictureBytes + frame.FrameBytes()) + frame.FrameBytes() + pixels * kWindowBytes;
}

ViewSession::ViewSession(const xelfw::PluginLibrary& library, std::unique_ptr<FrameSource> frames, ViewOptions options)
    : m_Options(std::move(options)),
      m_Frames(std::move(frames)),
      m_PseudoColor(library, xelfw::HostOptions{0, nullptr}),
      m_Temperature(library, kTemperatureType, xelfw::HostOptions{1, nullptr}),
      m_TemperatureName(ObjectName(library, kTemperatureType)),
      m_Restored(m_Options.stateFile.empty() ? std::nullopt : LoadViewState(m_Options.stateFile, m_PseudoColor)),
      m_Window(kFirstImageFrame, MenuEntries(), *this),
      m_PseudoColorDialogs(m_PseudoColor.Object()),
      m_TemperatureDialogs(m_Temperature.Object()),
      m_Processing(*m_Frames, m_PseudoColor.Host(), m_Temperature, m_Window.Handle(), ImageWindow::kFrameReadyMessage),
      m_Readout(std::nullopt) {
  if (m_Options.autoContrast && !m_Restored) SwitchOnAutoContrast(m_PseudoColor.Object());
  // A --range speaks the display unit of the first frame's grey span.
  const xelfw::Image first = m_Frames->Frame(0);
  m_FirstSize = SIZE{static_cast<LONG>(first.Width()), static_cast<LONG>(first.Height())};
  ConfigurePseudoColorObject(m_PseudoColor, m_Options.pseudo, &first);
  if (!m_Options.pseudo.isotherms.empty() && m_Options.pseudo.calibration) {
    m_Processing.SetIsotherms(
        IsothermPainter(m_Options.pseudo.isotherms, m_PseudoColor.Profile(), *m_Options.pseudo.calibration));
  }
  RestoreState(first);
  m_PseudoColor.Host().Record().SetDlgEventHook(
      [this](CXelImgProcess_0* sender, UINT event) { return OnDialogEvent(sender, event); });
  m_Temperature.Record().SetDlgEventHook(
      [this](CXelImgProcess_0* sender, UINT event) { return OnDialogEvent(sender, event); });
  LabelUserButtons();
  OpenDialogs();
  LayOut();
  UpdateTitle();
  UpdateStatus();
}

// Members go in reverse order: the processing thread stops before the dialogs close, the dialogs
// close before the window that owns them, and the objects go last.
ViewSession::~ViewSession() { m_Processing.Stop(); }

std::vector<MenuEntry> ViewSession::MenuEntries() const {
  const auto menuText = [](CXelImgProcess_0& object, UINT id) {
    const _TXIP_DIALOG_DATA* record = object.GetDialogDataByDlgID(id);
    return record ? record->MenuText : std::string("Dialog ") + std::to_string(id);
  };
  std::vector<MenuEntry> entries(kCommandCount);
  entries[kShowPseudoColor] = {menuText(m_PseudoColor.Object(), kPseudoColorDialog), 'C'};
  entries[kShowScale] = {menuText(m_PseudoColor.Object(), kScaleDialog), 'S'};
  entries[kShowTemperature] = {menuText(m_Temperature.Object(), kTemperatureDialog), 'T'};
  entries[kPausePlay] = {"Pause / play", VK_SPACE};
  entries[kSavePicture] = {"Save PNG of the picture", 'P'};
  entries[kSaveScreen] = {"Save PNG of the screen", 'P', FSHIFT};
  return entries;
}

// The options come after the state: what the command line says wins over what was saved.
void ViewSession::RestoreState(const xelfw::Image& first) {
  ApplyCalibration(m_Restored ? m_Restored->epsilon : std::nullopt);
  if (m_Restored && m_Restored->area && Fits(*m_Restored->area, first)) {
    m_Aoi = m_Restored->area;
    m_Processing.SetAoi(m_Aoi);
    m_Window.ShowAoi(m_Aoi);
  }
}

// One calibration behind every temperature: the object's readout and the status line convert alike.
void ViewSession::ApplyCalibration(const std::optional<double>& savedEpsilon) {
  m_Calibration = m_Options.pseudo.calibration;
  if (!m_Calibration && savedEpsilon) {
    m_Calibration = xelfw::TemperatureCalibration{};
    m_Calibration->epsilon = *savedEpsilon;
  }
  if (m_Calibration) ImportCalibration(m_Temperature.Object(), *m_Calibration, m_TemperatureName);
  m_Readout = CursorReadout(m_Calibration);
}

void ViewSession::LabelUserButtons() {
  const auto label = [](CXelImgProcess_0& object, UINT id, std::initializer_list<const char*> captions) {
    _TXIP_DIALOG_DATA* record = object.GetDialogDataByDlgID(id);
    if (!record || !record->ppUserButtonTexts) return;
    UINT i = 0;
    for (const char* caption : captions) {
      if (i < record->NumUserButtons && record->ppUserButtonTexts[i]) *record->ppUserButtonTexts[i] = caption;
      ++i;
    }
    record->UserButtonState = 0;
  };
  label(m_PseudoColor.Object(), kPseudoColorDialog, {kFreezeCaption, kActualSizeCaption});
  label(m_Temperature.Object(), kTemperatureDialog, {kSaveCaption});
}

void ViewSession::OpenDialogs() {
  const struct {
    UINT command;
    const char* name;
    RECT placement;
  } dialogs[] = {{kShowPseudoColor, kPseudoColorName, kPseudoColorPlacement},
                 {kShowScale, kScaleName, kScalePlacement},
                 {kShowTemperature, kTemperatureName, kTemperaturePlacement}};
  for (const auto& dialog : dialogs) {
    const RECT placement = PlacementOf(m_Restored, dialog.name, dialog.placement);
    xelfw::DialogHost& host = dialog.command == kShowTemperature ? m_TemperatureDialogs : m_PseudoColorDialogs;
    const UINT id = dialog.command == kShowScale ? kScaleDialog : kPseudoColorDialog;
    CXelImgProcessDlg* opened = host.Open(id, m_Window.Handle(), &placement);
    if (!opened) throw CommandError("the plug-in's dialog " + std::to_string(id) + " could not be opened");
    opened->UpdateDialogDisplay(XIP_UPDATE_USER_BUTTONS, 0);  // the captions LabelUserButtons wrote
  }
  // Keys belong to the picture: space, arrows and Esc drive the sequence.
  SetActiveWindow(m_Window.Handle());
  SetFocus(m_Window.Handle());
}

void ViewSession::ShowDialog(UINT command) {
  xelfw::DialogHost& host = command == kShowTemperature ? m_TemperatureDialogs : m_PseudoColorDialogs;
  const UINT id = command == kShowScale ? kScaleDialog : kPseudoColorDialog;
  // The key may come from another dialog, which keeps the focus, so that its next key works too.
  const HWND active = GetActiveWindow();
  const HWND focus = GetFocus();
  // Open shows a hidden dialog where it was; a closed one comes back at the record's placement.
  if (CXelImgProcessDlg* dialog = host.Open(id, m_Window.Handle()))
    SetWindowPos(dialog->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (IsWindow(active)) SetActiveWindow(active);
  if (IsWindow(focus)) SetFocus(focus);
}

void ViewSession::RunOnDisplay() {
  m_Playing = true;
  m_Window.StartTimer(kFrameIntervalMs);
  RequestFrame(0);
  winui::PresenterOptions options;
  options.title = "xelimg view";
  std::string error;
  const int code = winui::RunPresenter(options, &error);
  RethrowFailure();
  if (code == -1) throw CommandError("cannot show the viewer: " + error + " (--snapshot runs without one)");
  SaveState();
}

void ViewSession::RunHeadless(const HeadlessRun& run) {
  // The GUI thread waits while a frame is processed, so dialogs never read the settings the
  // frame's auto contrast is writing; their refreshes wait in the queue until the pump below.
  for (UINT frame = 0; frame < run.frames; ++frame) {
    RequestFrame(frame % m_Frames->Count());
    SettleHeadless();
  }
  for (const InputEvent& event : run.input) {
    Inject(event);
    SettleHeadless();
  }
  if (run.cursor) {
    if (!m_Window.PointAt(*run.cursor)) throw CommandError("--cursor: the pixel is not in sight in the image window");
    SettleHeadless();
  }
  SavePicture(winui::ComposeScreen(), run.snapshot);
  // The status line in words too, for scripts that want the numbers rather than their picture.
  std::printf("status: %s\n", xelfw::Cp1252ToUtf8(m_Window.Status()).c_str());
  SaveState();
}

// Everything the last input or frame set going: messages, a frame it asked for, the repaints after it.
void ViewSession::SettleHeadless() {
  winui::PumpMessages();
  m_Processing.WaitUntilIdle();
  winui::PumpMessages();
  RethrowFailure();
}

void ViewSession::SaveState() {
  if (m_Options.stateFile.empty()) return;
  ViewState state;
  const struct {
    const char* name;
    xelfw::DialogHost& host;
    UINT id;
  } dialogs[] = {{kPseudoColorName, m_PseudoColorDialogs, kPseudoColorDialog},
                 {kScaleName, m_PseudoColorDialogs, kScaleDialog},
                 {kTemperatureName, m_TemperatureDialogs, kTemperatureDialog}};
  for (const auto& dialog : dialogs) {
    if (CXelImgProcessDlg* open = dialog.host.Dialog(dialog.id))
      state.windows[dialog.name] = WindowRectOf(open->GetSafeHwnd());
  }
  m_Processing.WaitUntilIdle();
  state.epsilon = CurrentEpsilon();
  state.area = m_Aoi;
  // The run itself went well; a state that cannot be kept is worth a warning, not a failure.
  try {
    SaveViewState(m_Options.stateFile, state, m_PseudoColor);
  } catch (const CommandError& failure) {
    std::fprintf(stderr, "xelimg: warning: %s\n", failure.what());
  }
}

double ViewSession::CurrentEpsilon() const {
  xelfw::IniStore store;
  xelfw::IniContext context(store, m_TemperatureName);
  CheckResult(m_Temperature.Object().GetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL), "settings export");
  return store.GetDouble(m_TemperatureName, "Epsilon").value_or(1.0);
}

void ViewSession::RequestFrame(UINT index) {
  m_Position = index;
  m_Next = (index + 1) % m_Frames->Count();
  m_Processing.Request(index);
}

// Paused means still, not frozen: what a dialog changed shows on the frame in hand at once.
void ViewSession::RepaintIfStill() {
  if (m_Frame && (m_Paused || !m_Playing)) RequestFrame(m_Frame->index);
}

UINT ViewSession::OnDialogEvent(CXelImgProcess_0* sender, UINT event) {
  switch (XipDlgEventCode(event)) {
    case XIP_DLG_EVENT_CLOSE_REQUEST:
      return 1;  // the dialog hides itself; its key or the menu brings it back
    case XIP_DLG_EVENT_SETTING_CHANGED:
      if (sender == &m_Temperature.Object()) {
        // The emissivity typed in the dialog counts for the status line as for the readout; read
        // between frames, as the object reads it while it measures.
        m_Processing.WaitUntilIdle();
        xelfw::TemperatureCalibration calibration = m_Calibration.value_or(xelfw::TemperatureCalibration{});
        calibration.epsilon = CurrentEpsilon();
        m_Readout = CursorReadout(calibration);
      }
      RepaintIfStill();
      UpdateStatus();
      return 0;
    case XIP_DLG_EVENT_USER_BUTTON:
      OnUserButton(sender);
      return 0;
    default:
      return 0;
  }
}

void ViewSession::OnUserButton(CXelImgProcess_0* sender) {
  if (sender == &m_Temperature.Object()) {
    SavePng(false);
    return;
  }
  const _TXIP_DIALOG_DATA* record = m_PseudoColor.Object().GetDialogDataByDlgID(kPseudoColorDialog);
  if (!record) return;
  const UINT changed = record->UserButtonState ^ m_UserButtons;
  m_UserButtons = record->UserButtonState;
  if (changed & kFreezeBit) {
    SetPaused((m_UserButtons & kFreezeBit) != 0);
    m_Notice = m_Paused ? "Freeze: the picture stays on this frame" : "Freeze off: playing";
  }
  if (changed & kActualSizeBit) {
    const bool actual = (m_UserButtons & kActualSizeBit) != 0;
    m_Window.SetZoom(actual ? ImageWindow::Zoom::ActualSize : ImageWindow::Zoom::Fit);
    m_Notice = actual ? "Zoom 1:1: one screen pixel a picture pixel" : "Zoom 1:1 off: the picture fits the window";
  }
  UpdateStatus();
}

void ViewSession::SavePng(bool wholeScreen) {
  if (!wholeScreen && !m_Frame) return;
  // The next free name in the working directory, so that no earlier picture is overwritten.
  std::filesystem::path file;
  std::error_code error;
  do {
    file = "xelimg-view-" + std::to_string(++m_Screenshots) + ".png";
  } while (std::filesystem::exists(file, error) && m_Screenshots < 100000);
  try {
    if (wholeScreen) {
      SavePicture(winui::ComposeScreen(), file);
    } else {
      xelhost::WriteImageFile(MarkedPicture(), file);
    }
    m_Notice = "saved " + file.string();
  } catch (const std::exception& failure) {
    m_Notice = std::string("not saved: ") + failure.what();
  }
  UpdateStatus();
}

// The frame's own pixels as the window shows them: pseudo-coloured, with the measured area and its
// hottest pixel marked as pseudo --mark marks them.
xelfw::Image ViewSession::MarkedPicture() const {
  xelfw::Image picture = m_Frame->picture;
  if (m_Aoi) {
    const xelhost::MeasurementArea area{
        "area", xelhost::RectangleShape{static_cast<UINT>(m_Aoi->left), static_cast<UINT>(m_Aoi->top),
                                        static_cast<UINT>(m_Aoi->right - m_Aoi->left),
                                        static_cast<UINT>(m_Aoi->bottom - m_Aoi->top)}};
    xelhost::MarkAreas(picture, m_Frame->grey, {area}, {}, m_Calibration.value_or(xelfw::TemperatureCalibration{}));
  }
  return picture;
}

void ViewSession::OnAoiChosen(const std::optional<RECT>& imageArea) {
  m_Aoi = imageArea;
  m_Processing.SetAoi(imageArea);
  m_Window.ShowAoi(imageArea);
  // A still picture is measured again at once, so the reading follows the new area.
  RepaintIfStill();
}

void ViewSession::OnTogglePause() { SetPaused(!m_Paused); }

void ViewSession::SetPaused(bool paused) {
  m_Paused = paused;
  m_Rate.Reset();
  UpdateTitle();
}

// Steps wrap round as playback does; jumps stop at the ends. A live stream knows no end and keeps no
// past: End and PgDn go back to its newest frame and play on, Home and PgUp say they cannot.
void ViewSession::OnJump(Jump jump) {
  const long long count = m_Frames->Count();
  const long long shown = m_Position;
  if (count == kLiveCount && jump != Jump::Back && jump != Jump::Forward) {
    if (jump == Jump::Last || jump == Jump::PageForward) {
      SetPaused(false);
      RequestFrame(static_cast<UINT>(shown + 1));
    } else {
      m_Notice = "a live stream cannot go back";
      UpdateStatus();
    }
    return;
  }
  const long long page = std::max<long long>(1, count / kPageParts);
  long long target = shown;
  switch (jump) {
    case Jump::Back:
      target = (shown - 1 + count) % count;
      break;
    case Jump::Forward:
      target = (shown + 1) % count;
      break;
    case Jump::First:
      target = 0;
      break;
    case Jump::Last:
      target = count - 1;
      break;
    case Jump::PageBack:
      target = std::max<long long>(0, shown - page);
      break;
    case Jump::PageForward:
      target = std::min(count - 1, shown + page);
      break;
  }
  SetPaused(true);
  RequestFrame(static_cast<UINT>(target));
}

void ViewSession::OnScreenResized() { LayOut(); }

// The dialogs stay where they are; the picture window takes the largest part of the screen they
// leave free, at the picture's aspect.
void ViewSession::LayOut() {
  std::vector<RECT> dialogs;
  for (CXelImgProcessDlg* open :
       {m_PseudoColorDialogs.Dialog(kPseudoColorDialog), m_PseudoColorDialogs.Dialog(kScaleDialog),
        m_TemperatureDialogs.Dialog(kTemperatureDialog)}) {
    if (open && IsWindowVisible(open->GetSafeHwnd())) dialogs.push_back(WindowRectOf(open->GetSafeHwnd()));
  }
  const SIZE picture =
      m_Frame ? SIZE{static_cast<LONG>(m_Frame->picture.Width()), static_cast<LONG>(m_Frame->picture.Height())}
              : m_FirstSize;
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const RECT frame = PictureWindowFrame(screen, dialogs, picture, &ImageWindow::FrameSizeFor);
  SetWindowPos(m_Window.Handle(), nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  m_Window.SetZoom(ImageWindow::Zoom::Fit);
}

void ViewSession::OnQuit() { PostQuitMessage(0); }

void ViewSession::OnTick() {
  if (!m_Paused && m_Processing.Idle()) RequestFrame(m_Next);
}

void ViewSession::OnCursor(const std::optional<POINT>&) {
  m_Notice.clear();
  UpdateStatus();
}

void ViewSession::OnCommand(UINT command) {
  switch (command) {
    case kShowPseudoColor:
    case kShowScale:
    case kShowTemperature:
      ShowDialog(command);
      break;
    case kPausePlay:
      OnTogglePause();
      break;
    case kSavePicture:
      SavePng(false);
      break;
    case kSaveScreen:
      SavePng(true);
      break;
    default:
      break;
  }
}

void ViewSession::OnFrameReady() {
  try {
    if (std::optional<SkippedFrame> skipped = m_Processing.TakeSkipped()) {
      // Playback goes on past it; a paused viewer stays on the frame it shows.
      m_Notice = "frame " + std::to_string(skipped->index + 1) + " skipped: " + skipped->why;
      UpdateStatus();
    }
    std::optional<ProcessedFrame> frame = m_Processing.TakeFrame();
    if (!frame) return;
    if (frame->sourceBits != m_DisplayUnitBits) RescaleDisplayUnit(frame->sourceBits);
    m_Window.ShowPicture(frame->picture);
    m_Frame = std::move(frame);
    if (!m_Paused) m_Rate.Count();
    UpdateTitle();
    UpdateStatus();
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
  char position[48];
  const UINT shown = m_Frame ? m_Frame->index + 1 : 1;
  if (m_Frames->Count() == kLiveCount) {
    std::snprintf(position, sizeof position, "frame %u", shown);
  } else {
    std::snprintf(position, sizeof position, "frame %u/%u", shown, m_Frames->Count());
  }
  char title[96];
  if (m_Paused) {
    std::snprintf(title, sizeof title, "xelimg view - %s - paused", position);
  } else {
    std::snprintf(title, sizeof title, "xelimg view - %s - %.1f fps", position, m_Rate.PerSecond());
  }
  m_Window.SetTitle(title);
}

// The pixel under the cursor of the frame on screen, read again with every frame, so that a still
// mouse over a moving scene follows it; a command's notice stands until the mouse moves.
void ViewSession::UpdateStatus() {
  if (!m_Notice.empty()) {
    m_Window.SetStatus(m_Notice);
    return;
  }
  const std::optional<POINT> pixel = m_Window.CursorPixel();
  if (!m_Frame || !pixel) {
    m_Window.SetStatus("right button: menu   wheel, +, -, 1, 0: zoom   middle or Shift drag: pan");
    return;
  }
  m_Window.SetStatus(m_Readout.Describe(m_Frame->grey, *pixel, m_Aoi));
}

void ViewSession::RethrowFailure() {
  if (m_Failure) std::rethrow_exception(m_Failure);
}

}  // namespace xelimg::view
