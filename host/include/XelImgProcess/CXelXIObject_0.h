// Auxiliary ("XI") object the framework lends to a processing object.
#pragma once

#include <XelImgProcess/XelTypes.h>

// The object that asked for an XI object gives it back through DeleteInstance_XIObject; only the
// framework destroys it.
class XEL_HOST_API CXelXIObject_0 {
 public:
  virtual UINT GetXIObjType() const = 0;

 protected:
  virtual ~CXelXIObject_0() = default;
};
