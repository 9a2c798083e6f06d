// One run of the viewer: the objects, the image window, the dialogs beside it and the processing
// thread, made in that order and taken down in the reverse one.
#pragma once

#include <xelhost/frame_source.h>
#include <xelhost/plugin_objects.h>
#include <xelhost/pseudo_job.h>
#include "host_kit.h"
#include "view/cursor_readout.h"
#include "view/frame_rate.h"
#include "view/image_window.h"
#include "view/input_script.h"
#include "view/processing_thread.h"
#include "view/view_state.h"

#include <xelfw/DialogHost.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/ProcessingHost.h>
#include <xelfw/TemperatureCalibration.h>

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace xelimg::view {

struct ViewOptions {
  // The pseudo-colour options as `pseudo` takes them; their calibration is --ini / --epsilon.
  PseudoOptions pseudo;
  // Continuous auto contrast, for the demo scene whose grey range moves, unless the settings come
  // from the options or the state.
  bool autoContrast = false;
  // Read at the start and written at the end; empty: no state.
  std::filesystem::path stateFile;
};

// What a headless run does after its frames, before the picture is taken.
// What the viewer makes of frames of this size while it plays them: the frame on screen and the next
// one being made (each its picture and a copy of its grey frame), the frame being processed, and the
// window's pixels.
std::size_t ShownFrameBytes(const xelhost::ImageFileInfo& frame);

struct HeadlessRun {
  UINT frames = 1;
  std::vector<InputEvent> input;
  std::optional<POINT> cursor;  // a picture pixel the mouse is put on last
  std::filesystem::path snapshot;
};

class ViewSession final : private ImageWindowEvents {
 public:
  ViewSession(const xelfw::PluginLibrary& library, std::unique_ptr<FrameSource> frames, ViewOptions options);
  ~ViewSession();
  ViewSession(const ViewSession&) = delete;
  ViewSession& operator=(const ViewSession&) = delete;

  // Plays on the display until the user quits; throws CommandError when there is no display.
  void RunOnDisplay();
  // Shows the frames without a display, plays the input and saves the whole screen as PNG.
  void RunHeadless(const HeadlessRun& run);

 private:
  enum Command : UINT {
    kShowPseudoColor,
    kShowScale,
    kShowTemperature,
    kPausePlay,
    kSavePicture,
    kSaveScreen,
    kCommandCount
  };

  void OnAoiChosen(const std::optional<RECT>& imageArea) override;
  void OnTogglePause() override;
  void OnJump(Jump jump) override;
  void OnScreenResized() override;
  void OnQuit() override;
  void OnFrameReady() override;
  void OnTick() override;
  void OnCursor(const std::optional<POINT>& imagePoint) override;
  void OnCommand(UINT command) override;

  std::vector<MenuEntry> MenuEntries() const;
  void RestoreState(const xelfw::Image& first);
  void SaveState();
  void ApplyCalibration(const std::optional<double>& savedEpsilon);
  void LabelUserButtons();
  void OpenDialogs();
  void ShowDialog(UINT command);
  UINT OnDialogEvent(CXelImgProcess_0* sender, UINT event);
  void OnUserButton(CXelImgProcess_0* sender);
  void SetPaused(bool paused);
  // The picture as shown, at the frame's own size, or the whole screen; named by the next free number.
  void SavePng(bool wholeScreen);
  xelfw::Image MarkedPicture() const;
  void LayOut();
  double CurrentEpsilon() const;
  void RequestFrame(UINT index);
  void RepaintIfStill();
  void RescaleDisplayUnit(UINT sourceBits);
  void UpdateTitle();
  void UpdateStatus();
  void RethrowFailure();
  void SettleHeadless();

  const ViewOptions m_Options;
  std::unique_ptr<FrameSource> m_Frames;
  PseudoColorObject m_PseudoColor;
  xelfw::ProcessingHost m_Temperature;
  std::string m_TemperatureName;
  std::optional<ViewState> m_Restored;
  ImageWindow m_Window;
  xelfw::DialogHost m_PseudoColorDialogs;
  xelfw::DialogHost m_TemperatureDialogs;
  ProcessingThread m_Processing;

  std::optional<xelfw::TemperatureCalibration> m_Calibration;  // what the temperature object converts with
  CursorReadout m_Readout;
  std::optional<ProcessedFrame> m_Frame;  // the frame on screen
  SIZE m_FirstSize{};                     // of the first frame, for the layout before a picture is shown
  std::optional<RECT> m_Aoi;
  std::string m_Notice;        // what the last command did, shown until the cursor moves
  UINT m_Position = 0;         // index asked for last, shown or skipped: where steps and jumps start
  UINT m_Next = 0;             // index the playback asks for next
  UINT m_DisplayUnitBits = 0;  // source depth the display unit was last scaled for; 0: not yet
  UINT m_UserButtons = 0;      // the pseudo-colour dialog's user-button bits as last seen
  bool m_Paused = false;
  bool m_Playing = false;  // on the display, with the playback timer
  unsigned m_Screenshots = 0;
  FrameRate m_Rate;
  std::exception_ptr m_Failure;
};

}  // namespace xelimg::view
