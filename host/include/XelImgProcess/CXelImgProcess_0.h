// Processing-object interface: everything a host calls on an object, in the order of its slots.
#pragma once

#include <XelImgProcess/CXelImage_0.h>
#include <XelImgProcess/CXelWorkerThread_0.h>
#include <XelImgProcess/XelDialogData.h>

class CXelImgProcessDlg;

// Images an object can hold: 0 is the source, 1 the destination.
inline constexpr UINT XIP_MAX_IMAGES = 8;

// Parameters are (identifier, value, size) triples. Value and size are pointer-sized because either
// may carry a pointer (a record, an INI context, a logger, an AOI).
class XEL_HOST_API CXelImgProcess_0 {
 public:
  virtual _EXIP_OBJTYPE GetObjType() const = 0;
  // Each output is written only when its pointer is not null.
  virtual UINT GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize, UINT* maxSize) = 0;
  virtual UINT SetParam(UINT id, UINT_PTR value, UINT_PTR size) = 0;
  virtual UINT GetParam(UINT id, UINT_PTR value, UINT_PTR extra) = 0;
  virtual UINT Process(UINT mode) = 0;
  // A record owned by the object, valid until its next call that changes it; null when none.
  virtual void* GetSpecialData(UINT id) = 0;

  virtual CXelWorkerThread_0* CreateWorkerThreadInstance() = 0;
  virtual void DeleteWorkerThreadInstance(CXelWorkerThread_0* thread) = 0;

  // Log fields: per log selector a number of columns the host's logging writes each frame.
  virtual UINT GetNumMaxLogFields(UINT selector) = 0;
  virtual UINT GetNumSupportedLogFields(UINT selector) = 0;
  virtual UINT GetMaxLogFieldWidth(UINT selector, UINT field) = 0;
  // Write at most size - 1 characters and a NUL; return the length written.
  virtual UINT GetLogFieldHeadLine(char* buffer, UINT size, UINT selector, UINT field) = 0;
  virtual UINT GetLogFieldContent(char* buffer, UINT size, UINT selector, UINT field) = 0;

  virtual UINT GetNumDialogs() = 0;
  virtual UINT IsDialogTypeFlag(UINT dlgID) = 0;
  virtual _TXIP_DIALOG_DATA* GetDialogDataByDlgID(UINT dlgID) = 0;
  virtual CXelImgProcessDlg* CreateDialogObject(UINT dlgID, HWND parent) = 0;

  // Host side: images, AOIs (null: the whole image) and the two access values of each image index.
  virtual UINT SetImages(UINT count, CXelImage_0* const* images) = 0;
  virtual UINT SetImage(UINT index, CXelImage_0* image) = 0;
  virtual UINT SetAoi(UINT index, const CXelAoi_0* aoi) = 0;
  virtual void SetAoiOverride(const CXelAoi_0* aoi) = 0;
  virtual UINT SetImageAccess(UINT index, UINT_PTR access1, UINT_PTR access2) = 0;

  virtual ~CXelImgProcess_0() = default;
};
