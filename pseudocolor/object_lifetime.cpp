// Construction and destruction of the pseudo-colour object, and the worker threads the host makes for it.
#include "pseudocolor/CXelPseudoColorClass.h"
#include "pseudocolor/worker_thread.h"

CXelPseudoColorClass::CXelPseudoColorClass(CXelImgProcessInstance_0* instance) : CPseudoColorOwner(instance) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  Log("CXelPseudoColorClass::CXelPseudoColorClass");
  ResetSettings(Settings);
  pHistogramObj = CreateInstance(XIP_OBJTYPE_STATISTICS);
  pUnitConverter = static_cast<CXelUnitConverter_0*>(CreateInstance_XIObject(XI_OBJTYPE_UNIT_CONVERTER, 1));
  // A host without a converter still gets a working object: the display values are then the dialogs'
  // problem, and every converter call here checks for it.
  if (pUnitConverter != nullptr) pUnitConverter->SetConvParam(XI_CONV_PARAM_DECIMALS, 2, 0, 0, 0);
  FillKernelTable(KernelTable);
  FillDialogData();
  m_pDialogData = DialogData;
  if (m_NumProcessors >= 2) PrepareWorkerThreads(m_NumProcessors);
}

CXelPseudoColorClass::~CXelPseudoColorClass() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  Log("CXelPseudoColorClass::~CXelPseudoColorClass");
  Lut.Reset();
  ShutDownDialogs();
  if (pHistogramObj != nullptr) DeleteInstance(pHistogramObj);
  if (pUnitConverter != nullptr) DeleteInstance_XIObject(XI_OBJTYPE_UNIT_CONVERTER, pUnitConverter);
}

_EXIP_OBJTYPE CXelPseudoColorClass::GetObjType() const { return XIP_OBJTYPE_PSEUDOCOLOR_LUT; }

CXelImgProcess::CWorkerThread* CXelPseudoColorClass::CreateWorkerThreadInstance() {
  return new (std::nothrow) CWorkerThread;
}

void CXelPseudoColorClass::DeleteWorkerThreadInstance(CXelImgProcess::CWorkerThread* thread) { delete thread; }
