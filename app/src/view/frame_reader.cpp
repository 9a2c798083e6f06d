// Reading ahead: the reader thread fills a small window of frames after the one taken last.
#include "view/frame_reader.h"
#include "host_kit.h"

#include <algorithm>

namespace xelimg::view {

FrameReader::FrameReader(const FrameSource& frames)
    : m_Frames(frames), m_ReadAhead(frames.Count() == kLiveCount ? 0 : std::min(kReadAhead, frames.Count() - 1)) {
  if (m_ReadAhead > 0) m_Thread = std::thread([this] { Run(); });
}

FrameReader::~FrameReader() {
  {
    std::lock_guard lock(m_Mutex);
    m_Stopping = true;
  }
  m_Changed.notify_all();
  if (m_Thread.joinable()) m_Thread.join();
}

xelfw::Image FrameReader::Take(UINT index) {
  if (m_ReadAhead == 0) return m_Frames.Frame(index);
  std::unique_lock lock(m_Mutex);
  m_Wanted = index;
  // A jump leaves the frames read for the old place behind, so that their memory is free for the new.
  std::erase_if(m_Ready, [this](const auto& ready) { return !InWindow(ready.first); });
  m_Changed.notify_all();
  m_Changed.wait(lock, [&] { return m_Ready.contains(index); });
  Read read = std::move(m_Ready.at(index));
  m_Ready.erase(index);
  m_Changed.notify_all();
  if (read.failure) std::rethrow_exception(read.failure);
  return std::move(*read.image);
}

bool FrameReader::InWindow(UINT index) const {
  const UINT count = m_Frames.Count();
  const UINT ahead = (index + count - m_Wanted) % count;  // playback wraps round at the end
  return ahead <= m_ReadAhead;
}

std::optional<UINT> FrameReader::NextToRead() const {
  const UINT count = m_Frames.Count();
  for (UINT ahead = 0; ahead <= m_ReadAhead; ++ahead) {
    const UINT index = (m_Wanted + ahead) % count;
    if (!m_Ready.contains(index) && m_Reading != index) return index;
  }
  return std::nullopt;
}

void FrameReader::Run() {
  std::unique_lock lock(m_Mutex);
  for (;;) {
    m_Changed.wait(lock, [this] { return m_Stopping || NextToRead(); });
    if (m_Stopping) return;
    const UINT index = *NextToRead();
    m_Reading = index;
    lock.unlock();
    Read read;
    try {
      read.image = m_Frames.Frame(index);
    } catch (...) {
      read.failure = std::current_exception();
    }
    lock.lock();
    m_Reading.reset();
    // A frame the window left while it was read is dropped.
    if (InWindow(index)) m_Ready.emplace(index, std::move(read));
    m_Changed.notify_all();
  }
}

}  // namespace xelimg::view
