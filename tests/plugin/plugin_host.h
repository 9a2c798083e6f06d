// A host for the plug-in's tests: loads the library through the framework's loader and makes objects
// by type code through its exports, as an application does.
#pragma once

#include <xelfw/InstanceRecord.h>
#include <xelfw/Logger.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/UnitConverter.h>

#include <gtest/gtest.h>
// Before the first function-local static: the compiler declares the module handle behind such
// statics itself, and the window layer's declaration has to come first.
#include <winui/afxwin.h>

#include <array>
#include <cstring>

namespace plugin_host {

inline const xelfw::PluginLibrary& Library() {
  static const xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  return library;
}

// Remembers the unit converter it lends, so a test can read what the object told it.
class ObservingRecord : public xelfw::InstanceRecord {
 public:
  using InstanceRecord::InstanceRecord;
  CXelXIObject_0* CreateInstance_XIObject(UINT type, UINT version) override {
    CXelXIObject_0* object = InstanceRecord::CreateInstance_XIObject(type, version);
    if (type == XI_OBJTYPE_UNIT_CONVERTER) converter = dynamic_cast<xelfw::UnitConverter*>(object);
    return object;
  }
  xelfw::UnitConverter* converter = nullptr;
};

// One object made through XelImgProcessCreateInstance and given back to XelImgProcessDeleteInstance.
struct HostedObject {
  explicit HostedObject(UINT type = XIP_OBJTYPE_PSEUDOCOLOR_LUT)
      : record(&logger, 1), object(Library().CreateInstance(type, &record)) {}
  ~HostedObject() { Library().DeleteInstance(object); }
  HostedObject(const HostedObject&) = delete;
  HostedObject& operator=(const HostedObject&) = delete;
  CXelImgProcess_0* operator->() const { return object; }

  xelfw::RecordingLogger logger;
  ObservingRecord record;
  CXelImgProcess_0* object;
};

// The 128-byte settings record (parameter 12) as a host sees it: fields at byte offsets.
using Settings = std::array<BYTE, 128>;
enum SettingsOffset : std::size_t {
  kLower = 0,
  kUpper = 8,
  kUnitMin = 16,
  kUnitMax = 24,
  kAutoContrastMinLevel = 32,
  kAutoContrastMinWidthEnable = 56,
  kAutoContrastMaxWidthEnable = 72,
  kUnitUseNormalization = 88,
  kAutoMode = 92,
  kUnitDesc = 96,
};

template <typename T>
T Read(const Settings& record, std::size_t offset) {
  T value;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}
template <typename T>
void Write(Settings& record, std::size_t offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

inline Settings GetSettings(CXelImgProcess_0* object) {
  Settings record{};
  EXPECT_EQ(object->GetParam(12, reinterpret_cast<UINT_PTR>(record.data()), record.size()), XIP_OK);
  return record;
}
inline UINT SetSettings(CXelImgProcess_0* object, Settings record) {
  return object->SetParam(12, reinterpret_cast<UINT_PTR>(record.data()), record.size());
}
// Changes one field of the object's settings through parameter 12.
template <typename T>
void SetField(CXelImgProcess_0* object, std::size_t offset, T value) {
  Settings record = GetSettings(object);
  Write(record, offset, value);
  ASSERT_EQ(SetSettings(object, record), XIP_OK);
}

inline UINT GetWord(CXelImgProcess_0* object, UINT id) {
  UINT word = ~0u;
  EXPECT_EQ(object->GetParam(id, reinterpret_cast<UINT_PTR>(&word), id == 13 ? sizeof word : 0), XIP_OK);
  return word;
}
inline UINT SliderSteps(CXelImgProcess_0* object) { return GetWord(object, 13); }
inline UINT ProfileIndex(CXelImgProcess_0* object) { return GetWord(object, XIP_PARAM_OBJECT_INDEX); }

}  // namespace plugin_host
