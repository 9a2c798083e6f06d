// The processing base's worker threads: made once per object, run once per frame.
#include "base_state.h"

#include <algorithm>

void CXelImgProcess::PrepareWorkerThreads(UINT n) {
  // Called from the derived constructor, so CreateWorkerThreadInstance reaches the derived object.
  if (!m_pState->workers.empty() || n == 0) return;
  for (UINT i = 0; i < n; ++i) {
    CWorkerThread* worker = CreateWorkerThreadInstance();
    if (worker == nullptr) break;
    m_pState->workers.push_back(worker);
  }
  if (m_pState->workers.empty()) return;
  m_pState->pool = std::make_unique<xelfw::WorkerPool>(static_cast<UINT>(m_pState->workers.size()));
  m_NumWorkerThreads = m_pState->pool->Size();
}

UINT CXelImgProcess::ExecuteWorkerThreads(UINT threads, UINT rows, const CWorkerThread::CParameter* record) {
  if (rows == 0) return XIP_OK;
  const UINT parts = std::min({threads, rows, m_NumWorkerThreads});
  if (parts == 0 || record == nullptr) return XIP_E_BADARG;
  // Each worker copies the record on its own thread at the start of the run, so workers only ever
  // read their own copy and the caller's record is only read.
  m_pState->pool->Run(parts, [&](UINT index) {
    CWorkerThread* worker = m_pState->workers[index];
    const xelfw::RowRange range = xelfw::SplitRows(rows, parts, index);
    if (worker->m_pParameter == nullptr) {
      worker->Execute(range.first, range.count, record);
      return;
    }
    worker->m_pParameter->Assign(*record);
    worker->Execute(range.first, range.count, worker->m_pParameter);
  });
  return XIP_OK;
}
