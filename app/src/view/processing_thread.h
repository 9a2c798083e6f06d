// The host's processing thread: runs both objects' Process for one frame at a time, on request of
// the GUI thread, and posts a message to a window when the frame is done.
#pragma once

#include <xelhost/frame_source.h>
#include <xelhost/isotherms.h>
#include "host_kit.h"
#include "view/frame_reader.h"

#include <xelfw/Aoi.h>
#include <xelfw/ProcessingHost.h>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace xelimg::view {

struct ProcessedFrame {
  UINT index;
  xelfw::Image picture;  // RGB, 8 bits a component
  xelfw::Image grey;     // the frame it was made from, for the values under the cursor
  UINT sourceBits;       // significant bits of the grey frame it came from
};

// A frame that could not be read (a damaged file in the sequence): the viewer says so and plays on.
struct SkippedFrame {
  UINT index;
  std::string why;
};

// The objects are handed over for as long as the thread runs: their parameters and Process are
// called from it alone, apart from what the dialogs do on the GUI thread.
class ProcessingThread {
 public:
  ProcessingThread(const FrameSource& frames, xelfw::ProcessingHost& pseudoColor, xelfw::ProcessingHost& temperature,
                   HWND notify, UINT notifyMessage);
  ~ProcessingThread();  // Stop()
  ProcessingThread(const ProcessingThread&) = delete;
  ProcessingThread& operator=(const ProcessingThread&) = delete;

  // Frame `index` next; a request not yet started is replaced.
  void Request(UINT index);
  bool Idle() const;
  void WaitUntilIdle();
  // The area the temperature object measures from the next frame on, in image pixels; none: all.
  void SetAoi(const std::optional<RECT>& aoi);
  // The isotherms painted over every picture; before the first request.
  void SetIsotherms(std::optional<xelhost::IsothermPainter> isotherms);
  // The last finished frame, once. Rethrows what made processing fail.
  std::optional<ProcessedFrame> TakeFrame();
  // The last frame that could not be read, once.
  std::optional<SkippedFrame> TakeSkipped();
  // Waits for the frame in hand; pending requests are dropped.
  void Stop();

 private:
  void Run();
  // Nothing when the frame could not be read (m_Skipped says why).
  std::optional<ProcessedFrame> Process(UINT index);

  FrameReader m_Reader;
  xelfw::ProcessingHost& m_PseudoColor;
  xelfw::ProcessingHost& m_Temperature;
  const HWND m_Notify;
  const UINT m_NotifyMessage;

  // Owned by the processing thread: the objects keep pointers to them between frames.
  xelfw::Image m_Source{1, 1, xelfw::PixelLayout::Grey(8, 8)};
  xelfw::Aoi m_Aoi;
  std::optional<xelhost::IsothermPainter> m_Isotherms;

  mutable std::mutex m_Mutex;
  std::condition_variable m_Changed;
  std::optional<UINT> m_Request;
  bool m_Working = false;
  bool m_Stopping = false;
  std::optional<RECT> m_RequestedAoi;
  std::optional<ProcessedFrame> m_Done;
  std::optional<SkippedFrame> m_Skipped;
  std::exception_ptr m_Failure;
  std::thread m_Thread;
};

}  // namespace xelimg::view
