// Construction, images and AOIs, time stamps, progress and helper objects of the processing base.
#include "base_state.h"

#include <cstdarg>
#include <cstring>

CXelImgProcess::CXelImgProcess(CXelImgProcessInstance_0* instance)
    : m_pInstance(instance), m_pState(std::make_unique<State>()) {
  if (m_pInstance != nullptr) {
    m_pLogger = m_pInstance->GetLogger();
    m_NumProcessors = m_pInstance->GetNumProcessors();
  }
  m_pState->hostLogger = m_pLogger;
}

CXelImgProcess::~CXelImgProcess() {
  // The pool threads go first: no worker may still run when its object is deleted. The derived
  // object's DeleteWorkerThreadInstance is gone by now, so the base's own deletion is used.
  m_pState->pool.reset();
  for (CWorkerThread* worker : m_pState->workers) CXelImgProcess::DeleteWorkerThreadInstance(worker);
}

UINT CXelImgProcess::Process(UINT) { return XIP_OK; }
void* CXelImgProcess::GetSpecialData(UINT) { return nullptr; }
CXelImgProcess::CWorkerThread* CXelImgProcess::CreateWorkerThreadInstance() { return nullptr; }
void CXelImgProcess::DeleteWorkerThreadInstance(CWorkerThread* thread) { delete thread; }
UINT CXelImgProcess::GetNumMaxLogFields(UINT) { return 0; }
UINT CXelImgProcess::GetNumSupportedLogFields(UINT) { return 0; }
UINT CXelImgProcess::GetMaxLogFieldWidth(UINT, UINT) { return 0; }

static UINT WriteEmptyText(char* buffer, UINT size) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  return 0;
}
UINT CXelImgProcess::GetLogFieldHeadLine(char* buffer, UINT size, UINT, UINT) { return WriteEmptyText(buffer, size); }
UINT CXelImgProcess::GetLogFieldContent(char* buffer, UINT size, UINT, UINT) { return WriteEmptyText(buffer, size); }

UINT CXelImgProcess::GetNumDialogs() { return 0; }
UINT CXelImgProcess::IsDialogTypeFlag(UINT) { return 0; }
CXelImgProcessDlg* CXelImgProcess::CreateDialogObject(UINT, HWND) { return nullptr; }

_TXIP_DIALOG_DATA* CXelImgProcess::GetDialogDataByDlgID(UINT dlgID) {
  if (m_pDialogData == nullptr) return nullptr;
  const UINT count = GetNumDialogs();
  for (UINT i = 0; i < count; ++i) {
    if (m_pDialogData[i].DlgID == dlgID) return &m_pDialogData[i];
  }
  return nullptr;
}

UINT CXelImgProcess::SetImages(UINT count, CXelImage_0* const* images) {
  if (count > XIP_MAX_IMAGES || (count > 0 && images == nullptr)) return XIP_E_BADARG;
  for (UINT i = 0; i < count; ++i) SetImage(i, images[i]);
  return XIP_OK;
}

UINT CXelImgProcess::SetImage(UINT index, CXelImage_0* image) {
  if (index >= XIP_MAX_IMAGES) return XIP_E_BADARG;
  m_pState->images[index] = image;
  // Sized here, on the host's thread, so that GetAoi stays a pure read for every other thread.
  const LONG width = image != nullptr ? static_cast<LONG>(image->GetAoiWidth(nullptr)) : 0;
  const LONG height = image != nullptr ? static_cast<LONG>(image->GetAoiHeight(nullptr)) : 0;
  m_pState->fullImageAois[index].SetRect(RECT{0, 0, width, height});
  return XIP_OK;
}

UINT CXelImgProcess::SetAoi(UINT index, const CXelAoi_0* aoi) {
  if (index >= XIP_MAX_IMAGES) return XIP_E_BADARG;
  m_pState->aois[index] = aoi;
  return XIP_OK;
}

void CXelImgProcess::SetAoiOverride(const CXelAoi_0* aoi) { m_pAoiOverride = aoi; }

UINT CXelImgProcess::SetImageAccess(UINT index, UINT_PTR access1, UINT_PTR access2) {
  if (index >= XIP_MAX_IMAGES) return XIP_E_BADARG;
  m_ImageAccess1[index] = access1;
  m_ImageAccess2[index] = access2;
  return XIP_OK;
}

CXelImage_0* CXelImgProcess::GetImage(UINT index) const {
  return index < XIP_MAX_IMAGES ? m_pState->images[index] : nullptr;
}

CXelImage_0* CXelImgProcess::GetValidImage(UINT index) const {
  CXelImage_0* image = GetImage(index);
  if (image == nullptr || XiFormatClass(image->GetFormat()) == 0) return nullptr;
  return image;
}

const CXelAoi_0* CXelImgProcess::GetAoi(UINT index) const {
  if (index >= XIP_MAX_IMAGES) return &m_pState->fullImageAois[0];
  if (m_pState->aois[index] != nullptr) return m_pState->aois[index];
  return &m_pState->fullImageAois[index];
}

void CXelImgProcess::TParamLimits::Write(UINT* pMinValue, UINT* pMaxValue, UINT* pMinSize, UINT* pMaxSize) const {
  if (pMinValue != nullptr) *pMinValue = minValue;
  if (pMaxValue != nullptr) *pMaxValue = maxValue;
  if (pMinSize != nullptr) *pMinSize = minSize;
  if (pMaxSize != nullptr) *pMaxSize = maxSize;
}

void CXelImgProcess::SetStartTimeStamp() { m_pState->start = std::chrono::steady_clock::now(); }

void CXelImgProcess::SetEndTimeStamp() {
  const auto elapsed = std::chrono::steady_clock::now() - m_pState->start;
  m_pState->lastSeconds = std::chrono::duration<double>(elapsed).count();
}

double CXelImgProcess::GetLastProcessingSeconds() const { return m_pState->lastSeconds; }

void CXelImgProcess::Log(const char* format, ...) {
  if (m_pLogger == nullptr) return;
  va_list args;
  va_start(args, format);
  m_pLogger->LogPrintV(XIP_LOG_PLAIN, format, args);
  va_end(args);
}

void CXelImgProcess::LogDetail(const char* format, ...) {
  if (m_pLogger == nullptr) return;
  va_list args;
  va_start(args, format);
  m_pLogger->LogPrintV(XIP_LOG_DETAIL, format, args);
  va_end(args);
}

BOOL CXelImgProcess::SignalZeroProgress() { return m_pInstance != nullptr ? m_pInstance->OnZeroProgress(this) : TRUE; }

void CXelImgProcess::SignalProgress(UINT done, UINT total) {
  if (m_pInstance != nullptr) m_pInstance->OnProgress(this, done, total);
}

UINT CXelImgProcess::SignalDlgEvent(UINT event) {
  return m_pInstance != nullptr ? m_pInstance->OnDlgEvent(this, event) : 0;
}

void* CXelImgProcess::memcpy(void* target, const void* source, std::size_t bytes) {
  if (bytes == 0) return target;
  return std::memcpy(target, source, bytes);
}

CXelImgProcess_0* CXelImgProcess::CreateInstance(UINT type) {
  return m_pInstance != nullptr ? m_pInstance->CreateInstance(type) : nullptr;
}

void CXelImgProcess::DeleteInstance(CXelImgProcess_0* object) {
  if (m_pInstance != nullptr && object != nullptr) m_pInstance->DeleteInstance(object);
}

CXelXIObject_0* CXelImgProcess::CreateInstance_XIObject(UINT type, UINT version) {
  return m_pInstance != nullptr ? m_pInstance->CreateInstance_XIObject(type, version) : nullptr;
}

void CXelImgProcess::DeleteInstance_XIObject(UINT type, CXelXIObject_0* object) {
  if (m_pInstance != nullptr && object != nullptr) m_pInstance->DeleteInstance_XIObject(type, object);
}

BOOL CXelImgProcess::IsActive() const { return m_pState->active; }
BOOL CXelImgProcess::IsLogging() const { return m_pState->logging; }
