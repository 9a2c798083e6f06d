// A pool whose threads sleep between runs; a run wakes them once and waits for the last one.
#include <xelfw/WorkerPool.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace xelfw {

RowRange SplitRows(UINT rows, UINT parts, UINT index) {
  if (parts == 0 || index >= parts) return {rows, 0};
  const UINT base = rows / parts;
  const UINT extra = rows % parts;
  const UINT first = index * base + std::min(index, extra);
  return {first, base + (index < extra ? 1u : 0u)};
}

WorkerPool::WorkerPool(UINT threads) {
  m_Threads.reserve(threads);
  for (UINT i = 0; i < threads; ++i) m_Threads.emplace_back(&WorkerPool::ThreadMain, this, i);
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(m_Mutex);
    m_Stopping = true;
  }
  m_Start.notify_all();
  for (std::thread& thread : m_Threads) thread.join();
}

void WorkerPool::Run(UINT count, const std::function<void(UINT)>& job) {
  if (count > Size()) throw std::invalid_argument("WorkerPool::Run: more jobs than threads");
  if (count == 0) return;
  std::lock_guard runLock(m_RunMutex);
  std::unique_lock lock(m_Mutex);
  m_pJob = &job;
  m_JobCount = count;
  m_Pending = count;
  m_Error = nullptr;
  ++m_Generation;
  m_Start.notify_all();
  m_Done.wait(lock, [this] { return m_Pending == 0; });
  m_pJob = nullptr;
  if (m_Error) std::rethrow_exception(std::exchange(m_Error, nullptr));
}

void WorkerPool::ThreadMain(UINT index) {
  std::size_t seen = 0;
  std::unique_lock lock(m_Mutex);
  while (true) {
    m_Start.wait(lock, [&] { return m_Stopping || m_Generation != seen; });
    if (m_Stopping) return;
    seen = m_Generation;
    if (index >= m_JobCount) continue;
    const std::function<void(UINT)>& job = *m_pJob;
    lock.unlock();
    std::exception_ptr error;
    try {
      job(index);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    if (error && !m_Error) m_Error = error;
    if (--m_Pending == 0) m_Done.notify_one();
  }
}

}  // namespace xelfw
