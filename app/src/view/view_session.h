// One run of the viewer: the objects, the image window, the dialogs beside it and the processing
// thread, made in that order and taken down in the reverse one.
#pragma once

#include "view/frame_rate.h"
#include "view/frame_source.h"
#include "view/image_window.h"
#include "view/processing_thread.h"

#include <xelfw/DialogHost.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/ProcessingHost.h>
#include <xelfw/TemperatureCalibration.h>

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>

namespace xelimg::view {

class ViewSession final : private ImageWindowEvents {
 public:
  // Continuous auto contrast is switched on for the demo scene, whose grey range moves. A calibration
  // goes to the temperature object and puts the pseudo-colour dialogs' unit on it.
  ViewSession(const xelfw::PluginLibrary& library, std::unique_ptr<FrameSource> frames, bool autoContrast,
              const std::optional<xelfw::TemperatureCalibration>& calibration);
  ~ViewSession();
  ViewSession(const ViewSession&) = delete;
  ViewSession& operator=(const ViewSession&) = delete;

  // Plays on the display until the user quits; throws CommandError when there is no display.
  void RunOnDisplay();
  // Shows frames 1..count without a display and saves the whole screen as PNG.
  void RunHeadless(UINT count, const std::filesystem::path& snapshot);

 private:
  void OnAoiChosen(const std::optional<RECT>& imageArea) override;
  void OnTogglePause() override;
  void OnStep(int frames) override;
  void OnQuit() override;
  void OnFrameReady() override;
  void OnTick() override;

  void OpenDialogs();
  void RequestFrame(UINT index);
  void RescaleDisplayUnit(UINT sourceBits);
  void UpdateTitle();
  void RethrowFailure();

  std::unique_ptr<FrameSource> m_Frames;
  xelfw::ProcessingHost m_PseudoColor;
  xelfw::ProcessingHost m_Temperature;
  ImageWindow m_Window;
  xelfw::DialogHost m_PseudoColorDialogs;
  xelfw::DialogHost m_TemperatureDialogs;
  ProcessingThread m_Processing;

  UINT m_Shown = 0;      // index of the frame on screen
  UINT m_Next = 0;       // index the playback asks for next
  bool m_HaveFrame = false;
  UINT m_DisplayUnitBits = 0;  // source depth the display unit was last scaled for; 0: not yet
  bool m_Paused = false;
  FrameRate m_Rate;
  std::exception_ptr m_Failure;
};

}  // namespace xelimg::view
