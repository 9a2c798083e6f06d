// The pseudo-colour object's worker: its per-run record and the row loop every thread runs.
#pragma once

#include "pseudocolor/CXelPseudoColorClass.h"
#include "pseudocolor/kernels.h"

class CXelPseudoColorClass::CWorkerThread : public CXelImgProcess::CWorkerThread {
 public:
  // Everything a row needs; the pool gives every worker its own copy for the length of a run.
  class CParameter : public CXelImgProcess::CWorkerThread::CParameter {
   public:
    CParameter() = default;
    CParameter(const CParameter&) = default;
    CParameter& operator=(const CParameter&) = default;
    CParameter& Assign(const CXelImgProcess::CWorkerThread::CParameter& other) override;

    const CXelImage_0* pSrcImage = nullptr;
    const CXelAoi_0* pSrcAoi = nullptr;
    UINT_PTR SrcAccess2 = 0;
    UINT_PTR SrcAccess1 = 0;
    const CXelImage_0* pDstImage = nullptr;
    const CXelAoi_0* pDstAoi = nullptr;
    UINT_PTR DstAccess2 = 0;
    UINT_PTR DstAccess1 = 0;
    UINT SrcStep = 0;
    UINT SrcMask = 0;
    UINT SrcShift = 0;
    const INT* pDstOffsets = nullptr;
    UINT DstStep = 0;
    const void* const* pLuts = nullptr;
    UINT NumComponents = 0;
    UINT Width = 0;
    TLutKernel pfnKernel = nullptr;
  };

  CWorkerThread();
  void Execute(UINT firstRow, UINT rowCount, const CXelImgProcess::CWorkerThread::CParameter* record) override;
  ~CWorkerThread() override = default;

 private:
  CParameter m_Parameter;
};

// Converts rows firstRow .. firstRow + rowCount - 1, top to bottom, with the record's kernel.
void ProcessRows(UINT firstRow, UINT rowCount, const CXelPseudoColorClass::CWorkerThread::CParameter* record);
