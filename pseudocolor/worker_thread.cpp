#include "pseudocolor/worker_thread.h"

CXelPseudoColorClass::CWorkerThread::CParameter& CXelPseudoColorClass::CWorkerThread::CParameter::Assign(
    const CXelImgProcess::CWorkerThread::CParameter& other) {
  // The pool only ever hands a worker records of its own object, which are of this type.
  *this = static_cast<const CParameter&>(other);
  return *this;
}

CXelPseudoColorClass::CWorkerThread::CWorkerThread() { m_pParameter = &m_Parameter; }

void CXelPseudoColorClass::CWorkerThread::Execute(UINT firstRow, UINT rowCount,
                                                  const CXelImgProcess::CWorkerThread::CParameter* record) {
  ProcessRows(firstRow, rowCount, static_cast<const CParameter*>(record));
}

void ProcessRows(UINT firstRow, UINT rowCount, const CXelPseudoColorClass::CWorkerThread::CParameter* record) {
  const CXelPseudoColorClass::CWorkerThread::CParameter& p = *record;
  for (UINT row = firstRow; row < firstRow + rowCount; ++row) {
    BYTE* pDstRow = p.pDstImage->GetRowAddress(row, 0, p.DstAccess1, p.pDstAoi, p.DstAccess2);
    const BYTE* pSrcRow = p.pSrcImage->GetRowAddress(row, 0, p.SrcAccess1, p.pSrcAoi, p.SrcAccess2);
    // A host that cannot address a row (wrong frame index or access mode) gets that row left alone.
    if (pDstRow == nullptr || pSrcRow == nullptr) continue;
    p.pfnKernel(pSrcRow, p.SrcStep, p.SrcMask, p.SrcShift, pDstRow, p.pDstOffsets, p.DstStep, p.pLuts, p.NumComponents,
                p.Width);
  }
}
