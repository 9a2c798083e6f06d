// One frame on the processing thread: pseudo colour into a fresh picture, then the temperature
// measurement inside the chosen area.
#include "view/processing_thread.h"
#include "host_kit.h"

#include <xelhost/plugin_objects.h>

#include <winui/winuser.h>

namespace xelimg::view {

ProcessingThread::ProcessingThread(const FrameSource& frames, xelfw::ProcessingHost& pseudoColor,
                                   xelfw::ProcessingHost& temperature, HWND notify, UINT notifyMessage)
    : m_Reader(frames),
      m_PseudoColor(pseudoColor),
      m_Temperature(temperature),
      m_Notify(notify),
      m_NotifyMessage(notifyMessage),
      m_Thread([this] { Run(); }) {}

ProcessingThread::~ProcessingThread() { Stop(); }

void ProcessingThread::Request(UINT index) {
  {
    std::lock_guard lock(m_Mutex);
    m_Request = index;
  }
  m_Changed.notify_all();
}

bool ProcessingThread::Idle() const {
  std::lock_guard lock(m_Mutex);
  return !m_Request && !m_Working;
}

void ProcessingThread::WaitUntilIdle() {
  std::unique_lock lock(m_Mutex);
  m_Changed.wait(lock, [this] { return (!m_Request && !m_Working) || m_Stopping; });
}

void ProcessingThread::SetAoi(const std::optional<RECT>& aoi) {
  std::lock_guard lock(m_Mutex);
  m_RequestedAoi = aoi;
}

std::optional<SkippedFrame> ProcessingThread::TakeSkipped() {
  std::lock_guard lock(m_Mutex);
  std::optional<SkippedFrame> skipped = std::move(m_Skipped);
  m_Skipped.reset();
  return skipped;
}

std::optional<ProcessedFrame> ProcessingThread::TakeFrame() {
  std::lock_guard lock(m_Mutex);
  if (m_Failure) std::rethrow_exception(m_Failure);
  std::optional<ProcessedFrame> frame = std::move(m_Done);
  m_Done.reset();
  return frame;
}

void ProcessingThread::Stop() {
  {
    std::lock_guard lock(m_Mutex);
    m_Stopping = true;
    m_Request.reset();
  }
  m_Changed.notify_all();
  if (m_Thread.joinable()) m_Thread.join();
}

void ProcessingThread::Run() {
  for (;;) {
    UINT index = 0;
    {
      std::unique_lock lock(m_Mutex);
      m_Changed.wait(lock, [this] { return m_Request || m_Stopping; });
      if (m_Stopping) return;
      index = *m_Request;
      m_Request.reset();
      m_Working = true;
    }
    std::optional<ProcessedFrame> frame;
    std::exception_ptr failure;
    try {
      frame = Process(index);
    } catch (...) {
      failure = std::current_exception();
    }
    {
      std::lock_guard lock(m_Mutex);
      if (failure) {
        m_Failure = failure;
      } else if (frame) {
        m_Done = std::move(frame);
      }
    }
    // Posted before the thread counts as idle: whoever waited for idle finds the message queued.
    PostMessage(m_Notify, m_NotifyMessage, 0, 0);
    {
      std::lock_guard lock(m_Mutex);
      m_Working = false;
      if (failure) m_Stopping = true;
    }
    m_Changed.notify_all();
    if (failure) return;
  }
}

void ProcessingThread::SetIsotherms(std::optional<xelhost::IsothermPainter> isotherms) {
  std::lock_guard lock(m_Mutex);
  m_Isotherms = std::move(isotherms);
}

std::optional<ProcessedFrame> ProcessingThread::Process(UINT index) {
  std::optional<RECT> aoi;
  {
    std::lock_guard lock(m_Mutex);
    aoi = m_RequestedAoi;
  }
  try {
    m_Source = m_Reader.Take(index);
  } catch (const std::exception& error) {
    std::lock_guard lock(m_Mutex);
    m_Skipped = SkippedFrame{index, error.what()};
    return std::nullopt;
  }
  ProcessedFrame done{index,
                      xelfw::Image(m_Source.Width(), m_Source.Height(), xelfw::PixelLayout::Colour(8, 3, XI_ORDER_RGB)),
                      m_Source, m_Source.GetImgBPC()};
  m_PseudoColor.SetSource(&m_Source);
  m_PseudoColor.SetDestination(&done.picture);
  m_PseudoColor.Object().SetImageAccess(0, 0, XI_ACCESS_READ);
  m_PseudoColor.Object().SetImageAccess(1, 0, XI_ACCESS_WRITE);
  CheckResult(m_PseudoColor.Process(), "pseudo-colour processing of frame " + std::to_string(index + 1));
  // The object keeps the destination's address; it must not outlive the picture handed on.
  m_PseudoColor.SetDestination(nullptr);
  if (m_Isotherms) m_Isotherms->Paint(done.picture, m_Source);

  if (aoi) m_Aoi.SetRect(*aoi);
  m_Temperature.SetSource(&m_Source, aoi ? &m_Aoi : nullptr);
  CheckResult(m_Temperature.Process(), "temperature measurement of frame " + std::to_string(index + 1));
  return done;
}

}  // namespace xelimg::view
