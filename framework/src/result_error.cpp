// Result codes turned into exceptions for hosts that report failures by throwing.
#include <xelfw/ResultError.h>

#include <cstdio>

namespace xelfw {

namespace {

std::string Describe(UINT code, const std::string& what) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", code);
  return what + " failed with result " + text;
}

}  // namespace

ResultError::ResultError(UINT code, const std::string& what) : std::runtime_error(Describe(code, what)), m_Code(code) {}

void CheckResult(UINT result, const std::string& what) {
  if (result != XIP_OK) throw ResultError(result, what);
}

}  // namespace xelfw
