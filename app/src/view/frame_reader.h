// The viewer's frames read ahead on a thread of their own: while one frame is processed the next ones
// are decoded, so that playback waits for the disk only when it jumps.
#pragma once

#include <xelhost/frame_source.h>
#include "host_kit.h"

#include <xelfw/Image.h>

#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

namespace xelimg::view {

// Frames read ahead of the one asked for last, in the direction of playback.
inline constexpr UINT kReadAhead = 2;
// Decoded frames held at once: those read ahead and the one being read.
inline constexpr UINT kFramesInFlight = kReadAhead + 1;

class FrameReader {
 public:
  // A live source is read on demand only: its frames are the newest ones, not an order to run ahead in.
  explicit FrameReader(const FrameSource& frames);
  ~FrameReader();
  FrameReader(const FrameReader&) = delete;
  FrameReader& operator=(const FrameReader&) = delete;

  // Frame `index`, read ahead or read now; the frames after it are read ahead meanwhile. Rethrows
  // what reading it threw. One caller at a time.
  xelfw::Image Take(UINT index);

 private:
  struct Read {
    std::optional<xelfw::Image> image;
    std::exception_ptr failure;
  };

  void Run();
  // The next frame of the window after m_Wanted that is neither read nor being read; none: all are.
  std::optional<UINT> NextToRead() const;
  bool InWindow(UINT index) const;

  const FrameSource& m_Frames;
  const UINT m_ReadAhead;

  std::mutex m_Mutex;
  std::condition_variable m_Changed;
  UINT m_Wanted = 0;
  std::optional<UINT> m_Reading;
  std::map<UINT, Read> m_Ready;
  bool m_Stopping = false;
  std::thread m_Thread;
};

}  // namespace xelimg::view
