// Worker thread as the framework's pool drives it: one object per pool thread, made by the
// processing object (CreateWorkerThreadInstance) so that it can carry the object's own record type.
#pragma once

#include <XelImgProcess/XelTypes.h>

class XEL_HOST_API CXelWorkerThread_0 {
 public:
  // The per-run record of a processing object. Before every run the pool copies the caller's record
  // into each worker's own record with Assign, so workers never share the caller's stack copy.
  class XEL_HOST_API CParameter {
   public:
    virtual CParameter& Assign(const CParameter& other) = 0;

   protected:
    ~CParameter() = default;
  };

  // Handles rows firstRow .. firstRow + rowCount - 1 with the worker's own copy of the record.
  virtual void Execute(UINT firstRow, UINT rowCount, const CParameter* record) = 0;
  virtual ~CXelWorkerThread_0() = default;

  // The worker's own record; a derived worker points it at its record when it is constructed.
  CParameter* m_pParameter = nullptr;
};
