// The pseudo-colour object driven through the framework's processing host.
#include "pseudocolor.h"

#include <XelPseudoColor/SettingsRecord.h>

#include <xelfw/ProcessingHost.h>
#include <xelfw/ResultError.h>

#include <stdexcept>
#include <string>

namespace xelpy {

namespace {

// The same checks as xelimg's options, so that a script and the command line refuse the same values.
void CheckRequest(const PseudoColorRequest& request, unsigned profiles) {
  if (request.profile >= profiles) {
    throw std::invalid_argument("profile must be 0 to " + std::to_string(profiles - 1) + ", got " +
                                std::to_string(request.profile));
  }
  for (const double bound : {request.lower, request.upper}) {
    if (!(bound >= 0.0 && bound <= 1.0)) throw std::invalid_argument("lower and upper must lie in 0..1");
  }
  if (!(request.lower < request.upper)) throw std::invalid_argument("lower must be below upper");
  if (request.autoMode != 0 && request.autoMode != kPseudoColorAutoContrast &&
      request.autoMode != kPseudoColorAutoBrightness) {
    throw std::invalid_argument("unknown auto mode " + std::to_string(request.autoMode));
  }
  if (request.outputBits != 8 && request.outputBits != 16) throw std::invalid_argument("out_bits must be 8 or 16");
  if (request.threads > 256) throw std::invalid_argument("threads must be 1 to 256");
}

unsigned ProfileCount(CXelImgProcess_0& object) {
  UINT lowest = 0;
  UINT highest = 0;
  xelfw::CheckResult(object.GetParamLimits(XIP_PARAM_OBJECT_INDEX, &lowest, &highest, nullptr, nullptr),
                     "reading the profile range");
  return highest + 1;
}

}  // namespace

unsigned ProfileCount(const xelfw::PluginLibrary& library) {
  const xelfw::ProcessingHost host(library, XIP_OBJTYPE_PSEUDOCOLOR_LUT);
  return ProfileCount(host.Object());
}

xelfw::Image RunPseudoColor(const xelfw::PluginLibrary& library, const xelfw::Image& source,
                            const PseudoColorRequest& request) {
  xelfw::ProcessingHost host(library, XIP_OBJTYPE_PSEUDOCOLOR_LUT, xelfw::HostOptions{request.threads});
  CXelImgProcess_0& object = host.Object();
  CheckRequest(request, ProfileCount(object));

  xelfw::CheckResult(object.SetParam(XIP_PARAM_OBJECT_INDEX, request.profile, 0),
                     "selecting profile " + std::to_string(request.profile));
  TPseudoColorSettings settings{};
  const auto record = reinterpret_cast<UINT_PTR>(&settings);  // records travel by pointer, whole
  xelfw::CheckResult(object.GetParam(XIP_PARAM_PSEUDOCOLOR_SETTINGS, record, sizeof settings), "reading settings");
  settings.Lower = request.lower;
  settings.Upper = request.upper;
  settings.AutoMode = request.autoMode;
  xelfw::CheckResult(object.SetParam(XIP_PARAM_PSEUDOCOLOR_SETTINGS, record, sizeof settings), "setting settings");

  xelfw::Image destination(source.Width(), source.Height(),
                           xelfw::PixelLayout::Colour(request.outputBits, 3, XI_ORDER_RGB));
  // The object reads the source through the image interface only, which takes a mutable pointer.
  host.SetSource(const_cast<xelfw::Image*>(&source));
  host.SetDestination(&destination);
  xelfw::CheckResult(object.SetImageAccess(0, 0, XI_ACCESS_READ), "opening the source");
  xelfw::CheckResult(object.SetImageAccess(1, 0, XI_ACCESS_WRITE), "opening the destination");
  xelfw::CheckResult(host.Process(), "pseudo-colour processing");
  return destination;
}

}  // namespace xelpy
