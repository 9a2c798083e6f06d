// A pseudo-colour object set up as a host sets it up for processing: with worker threads when asked,
// a recording logger, and the settings record reachable by field.
#pragma once

#include "plugin_host.h"

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/ProcessingHost.h>

#include <string>

namespace pseudo_color_rig {

using plugin_host::kAutoContrastMinLevel;
using plugin_host::kAutoContrastMinWidthEnable;
using plugin_host::kAutoMode;
using plugin_host::kLower;
using plugin_host::kUpper;
inline constexpr std::size_t kAutoContrastDestRange = 48;

inline constexpr UINT kProfileBlueGreenYellowRed = 0;
inline constexpr UINT kProfileGreyWedge = 1;
inline constexpr UINT kProfileClipDetect = 4;

struct Rig {
  xelfw::RecordingLogger logger;
  xelfw::ProcessingHost host;

  explicit Rig(UINT processors = 1)
      : host(plugin_host::Library(), XIP_OBJTYPE_PSEUDOCOLOR_LUT, xelfw::HostOptions{processors, &logger}) {}

  CXelImgProcess_0* Object() { return &host.Object(); }

  void SetImages(CXelImage_0* source, CXelImage_0* destination, const CXelAoi_0* sourceAoi = nullptr,
                 const CXelAoi_0* destinationAoi = nullptr) {
    host.SetSource(source, sourceAoi);
    host.SetDestination(destination, destinationAoi);
  }
  // Only the run's own lines stay in the log.
  UINT Process() {
    logger.Clear();
    return host.Process();
  }

  template <typename T>
  T Field(std::size_t offset) {
    return plugin_host::Read<T>(plugin_host::GetSettings(Object()), offset);
  }
  template <typename T>
  void SetField(std::size_t offset, T value) {
    plugin_host::SetField(Object(), offset, value);
  }
  void SetBounds(double lower, double upper) {
    SetField(kLower, lower);
    SetField(kUpper, upper);
  }
  void SelectProfile(UINT index) { ASSERT_EQ(Object()->SetParam(XIP_PARAM_OBJECT_INDEX, index, 0), XIP_OK); }

  bool Logged(const std::string& line) const { return logger.Contains(line); }
};

}  // namespace pseudo_color_rig
