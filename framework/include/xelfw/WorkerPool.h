// Persistent worker threads: a run hands one job to each of the first n threads and waits for all.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace xelfw {

// Rows first .. first + count - 1 of one part.
struct RowRange {
  UINT first;
  UINT count;
};

// Contiguous parts in row order; the first rows % parts parts get one row more.
XEL_HOST_API RowRange SplitRows(UINT rows, UINT parts, UINT index);

class XEL_HOST_API WorkerPool {
 public:
  explicit WorkerPool(UINT threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  UINT Size() const { return static_cast<UINT>(m_Threads.size()); }
  // Runs job(i) on thread i for every i < count (count at most Size()) and returns when all are
  // done. An exception from a job is rethrown here after every job has ended. One run at a time.
  void Run(UINT count, const std::function<void(UINT)>& job);

 private:
  void ThreadMain(UINT index);

  std::mutex m_Mutex;
  std::condition_variable m_Start;
  std::condition_variable m_Done;
  std::mutex m_RunMutex;  // serialises callers of Run
  const std::function<void(UINT)>* m_pJob = nullptr;
  UINT m_JobCount = 0;
  UINT m_Pending = 0;
  std::size_t m_Generation = 0;
  bool m_Stopping = false;
  std::exception_ptr m_Error;
  std::vector<std::thread> m_Threads;
};

}  // namespace xelfw
