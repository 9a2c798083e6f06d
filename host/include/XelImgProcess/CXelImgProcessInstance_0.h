// The host's instance record: what the host lends every object it creates.
#pragma once

#include <XelImgProcess/CXelImgProcess_0.h>
#include <XelImgProcess/CXelLogger_0.h>
#include <XelImgProcess/CXelXIObject_0.h>

// The object keeps the record for its lifetime; the host keeps it alive longer than the object.
class XEL_HOST_API CXelImgProcessInstance_0 {
 public:
  virtual CXelLogger_0* GetLogger() = 0;  // null: the object does not log
  virtual UINT GetNumProcessors() = 0;

  virtual CXelImgProcess_0* CreateInstance(UINT type) = 0;
  virtual void DeleteInstance(CXelImgProcess_0* object) = 0;
  virtual CXelXIObject_0* CreateInstance_XIObject(UINT type, UINT version) = 0;
  virtual void DeleteInstance_XIObject(UINT type, CXelXIObject_0* object) = 0;

  // FALSE refuses the processing run that is about to start.
  virtual BOOL OnZeroProgress(CXelImgProcess_0* sender) = 0;
  virtual void OnProgress(CXelImgProcess_0* sender, UINT done, UINT total) = 0;
  // An event word of XelDialogData.h; for a close request a non-zero result hides the dialog.
  virtual UINT OnDlgEvent(CXelImgProcess_0* sender, UINT event) = 0;

 protected:
  ~CXelImgProcessInstance_0() = default;
};
