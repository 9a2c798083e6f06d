// A host for the plug-in's tests: loads the library through the framework's loader and makes objects
// by type code through its exports, as an application does.
#pragma once

#include <xelfw/InstanceRecord.h>
#include <xelfw/IniStore.h>
#include <xelfw/Logger.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/UnitConverter.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace plugin_host {

inline const xelfw::PluginLibrary& Library() {
  static const xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  return library;
}

// Remembers the unit converter it lends, so a test can read what the object told it.
class ObservingRecord : public xelfw::InstanceRecord {
 public:
  ObservingRecord(CXelLogger_0* logger, UINT processors) : InstanceRecord(logger, processors) {}

  CXelXIObject_0* CreateInstance_XIObject(UINT type, UINT version) override {
    CXelXIObject_0* object = InstanceRecord::CreateInstance_XIObject(type, version);
    if (type == XI_OBJTYPE_UNIT_CONVERTER) converter = dynamic_cast<xelfw::UnitConverter*>(object);
    return object;
  }

  xelfw::UnitConverter* converter = nullptr;
};

// One object of the library, made through XelImgProcessCreateInstance and given back through
// XelImgProcessDeleteInstance when the test is done with it.
class HostedObject {
 public:
  explicit HostedObject(UINT type, UINT processors = 1) : record(&logger, processors) {
    object = Library().CreateInstance(type, &record);
  }
  ~HostedObject() { Library().DeleteInstance(object); }
  HostedObject(const HostedObject&) = delete;
  HostedObject& operator=(const HostedObject&) = delete;

  CXelImgProcess_0* operator->() const { return object; }
  CXelImgProcess_0& operator*() const { return *object; }

  xelfw::RecordingLogger logger;
  ObservingRecord record;
  CXelImgProcess_0* object = nullptr;
};

// The 128-byte settings record of the pseudo-colour object as a host sees it: bytes at offsets.
namespace settings {
inline constexpr std::size_t kSize = 128;
inline constexpr std::size_t kLower = 0;
inline constexpr std::size_t kUpper = 8;
inline constexpr std::size_t kUnitMin = 16;
inline constexpr std::size_t kUnitMax = 24;
inline constexpr std::size_t kAutoContrastMinLevel = 32;
inline constexpr std::size_t kAutoContrastMaxLevel = 40;
inline constexpr std::size_t kAutoContrastDestRange = 48;
inline constexpr std::size_t kAutoContrastMinWidthEnable = 56;
inline constexpr std::size_t kAutoCntrastMinWidth = 64;
inline constexpr std::size_t kAutoContrastMaxWidthEnable = 72;
inline constexpr std::size_t kAutoCntrastMaxWidth = 80;
inline constexpr std::size_t kUnitUseNormalization = 88;
inline constexpr std::size_t kAutoMode = 92;
inline constexpr std::size_t kUnitDesc = 96;

using Record = std::array<BYTE, kSize>;

template <typename T>
T Read(const Record& record, std::size_t offset) {
  T value;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

template <typename T>
void Write(Record& record, std::size_t offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

inline std::string UnitText(const Record& record) {
  return std::string(reinterpret_cast<const char*>(record.data() + kUnitDesc));
}
}  // namespace settings

inline constexpr UINT kParamSettings = 12;
inline constexpr UINT kParamSliderSteps = 13;
inline constexpr UINT kProfileCount = 5;

inline settings::Record GetSettings(CXelImgProcess_0& object) {
  settings::Record record{};
  EXPECT_EQ(object.GetParam(kParamSettings, reinterpret_cast<UINT_PTR>(record.data()), record.size()), XIP_OK);
  return record;
}

inline UINT SetSettings(CXelImgProcess_0& object, settings::Record& record) {
  return object.SetParam(kParamSettings, reinterpret_cast<UINT_PTR>(record.data()), record.size());
}

inline UINT GetSliderSteps(CXelImgProcess_0& object) {
  UINT steps = 0;
  EXPECT_EQ(object.GetParam(kParamSliderSteps, reinterpret_cast<UINT_PTR>(&steps), sizeof steps), XIP_OK);
  return steps;
}

inline UINT GetProfileIndex(CXelImgProcess_0& object) {
  UINT index = ~0u;
  EXPECT_EQ(object.GetParam(XIP_PARAM_OBJECT_INDEX, reinterpret_cast<UINT_PTR>(&index), 0), XIP_OK);
  return index;
}

}  // namespace plugin_host
