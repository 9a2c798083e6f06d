// A pseudo-colour object set up as a host sets it up, with the settings record reachable by field.
#pragma once

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/Logger.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/ProcessingHost.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

namespace pseudo_color_rig {

inline const xelfw::PluginLibrary& Plugin() {
  static const xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  return library;
}

// Byte offsets of the 128-byte settings record of parameter 12.
inline constexpr std::size_t kLower = 0;
inline constexpr std::size_t kUpper = 8;
inline constexpr std::size_t kAutoContrastMinLevel = 32;
inline constexpr std::size_t kAutoContrastMaxLevel = 40;
inline constexpr std::size_t kAutoContrastDestRange = 48;
inline constexpr std::size_t kAutoContrastMinWidthEnable = 56;
inline constexpr std::size_t kAutoCntrastMinWidth = 64;
inline constexpr std::size_t kAutoMode = 92;

inline constexpr UINT kProfileBlueGreenYellowRed = 0;
inline constexpr UINT kProfileGreyWedge = 1;
inline constexpr UINT kProfileClipDetect = 4;

struct Rig {
  xelfw::RecordingLogger logger;
  xelfw::ProcessingHost host;

  explicit Rig(UINT processors = 1)
      : host(Plugin(), XIP_OBJTYPE_PSEUDOCOLOR_LUT, xelfw::HostOptions{processors, &logger}) {}

  CXelImgProcess_0& Object() { return host.Object(); }

  void SetImages(CXelImage_0* source, CXelImage_0* destination, const CXelAoi_0* sourceAoi = nullptr,
                 const CXelAoi_0* destinationAoi = nullptr) {
    host.SetSource(source, sourceAoi);
    host.SetDestination(destination, destinationAoi);
  }
  UINT Process() {
    logger.Clear();
    return host.Process();
  }

  std::array<BYTE, 128> Settings() {
    std::array<BYTE, 128> record{};
    EXPECT_EQ(Object().GetParam(12, reinterpret_cast<UINT_PTR>(record.data()), record.size()), XIP_OK);
    return record;
  }
  template <typename T>
  T Field(std::size_t offset) {
    const std::array<BYTE, 128> record = Settings();
    T value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
  }
  template <typename T>
  void SetField(std::size_t offset, T value) {
    std::array<BYTE, 128> record = Settings();
    std::memcpy(record.data() + offset, &value, sizeof value);
    ASSERT_EQ(Object().SetParam(12, reinterpret_cast<UINT_PTR>(record.data()), record.size()), XIP_OK);
  }
  void SetBounds(double lower, double upper) {
    SetField(kLower, lower);
    SetField(kUpper, upper);
  }
  void SelectProfile(UINT index) { ASSERT_EQ(Object().SetParam(XIP_PARAM_OBJECT_INDEX, index, 0), XIP_OK); }

  bool Logged(const std::string& line) const { return logger.Contains(line); }
};

}  // namespace pseudo_color_rig
