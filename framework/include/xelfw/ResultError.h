// A plug-in call that returned a result code other than XIP_OK.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <stdexcept>
#include <string>

namespace xelfw {

// The message names the operation and the code: "<what> failed with result 0xA0010006".
class XEL_HOST_API ResultError : public std::runtime_error {
 public:
  ResultError(UINT code, const std::string& what);
  UINT Code() const { return m_Code; }

 private:
  UINT m_Code;
};

// Throws ResultError unless result is XIP_OK.
XEL_HOST_API void CheckResult(UINT result, const std::string& what);

}  // namespace xelfw
