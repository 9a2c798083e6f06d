#include "tests/plugin/plugin_host.h"

#include <XelImgProcess/CXelImgProcess.h>

#include <string>

namespace {

using plugin_host::HostedObject;
using plugin_host::Library;

TEST(CatalogueTest, ListsTheTwoObjectsInOrderWithTheirNames) {
  const xelfw::PluginLibrary& library = Library();
  ASSERT_EQ(library.GetNumObj(), 2u);
  EXPECT_EQ(library.GetObjType(0), 96u);
  EXPECT_EQ(library.GetObjType(1), 97u);
  EXPECT_EQ(library.GetObjType(2), 0u);
  EXPECT_EQ(library.GetObjType(0xFFFFFFFF), 0u);

  EXPECT_EQ(std::string(library.GetObjInfo(96, 0)), "Pseudo color lut");
  EXPECT_EQ(std::string(library.GetObjInfo(97, 0)), "Temperature display");
  EXPECT_EQ(library.GetObjInfo(96, 1), nullptr);
  EXPECT_EQ(library.GetObjInfo(67, 0), nullptr);
  EXPECT_EQ(library.GetObjInfo(0, 0), nullptr);
}

TEST(CatalogueTest, MakesEachTypeAndReturnsEveryHelperWhenItIsDeleted) {
  for (UINT type : {96u, 97u}) {
    xelfw::InstanceRecord record(nullptr, 1);
    CXelImgProcess_0* object = Library().CreateInstance(type, &record);
    ASSERT_NE(object, nullptr) << type;
    EXPECT_EQ(object->GetObjType(), type);
    // The helpers an object borrows from the host (statistics object, unit converter) are live now...
    EXPECT_GT(record.LiveObjects(), 0u) << type;
    Library().DeleteInstance(object);
    // ... and all of them are back once the library has destroyed the object.
    EXPECT_EQ(record.LiveObjects(), 0u) << type;
  }
}

TEST(CatalogueTest, RefusesTypesItDoesNotMake) {
  xelfw::InstanceRecord record(nullptr, 1);
  for (UINT type : {0u, 67u, 95u, 98u}) EXPECT_EQ(Library().CreateInstance(type, &record), nullptr) << type;
  EXPECT_EQ(record.LiveObjects(), 0u);
}

// An object of the host's own kind, which the library must not destroy.
class ForeignObject : public CXelImgProcess {
 public:
  using CXelImgProcess::CXelImgProcess;
  ~ForeignObject() override { *destroyed = true; }
  _EXIP_OBJTYPE GetObjType() const override { return XIP_OBJTYPE_STATISTICS; }
  bool* destroyed = nullptr;
};

TEST(CatalogueTest, DeleteIgnoresNullAndObjectsOfOtherLibraries) {
  Library().DeleteInstance(nullptr);

  xelfw::InstanceRecord record(nullptr, 1);
  bool destroyed = false;
  {
    ForeignObject foreign(&record);
    foreign.destroyed = &destroyed;
    Library().DeleteInstance(&foreign);
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);  // by its own scope, not by the library
}

TEST(CatalogueTest, ObjectsOfTheSameTypeAreIndependent) {
  HostedObject first(96);
  HostedObject second(96);
  ASSERT_NE(first.object, nullptr);
  ASSERT_NE(second.object, nullptr);

  plugin_host::settings::Record changed = plugin_host::GetSettings(*first);
  plugin_host::settings::Write(changed, plugin_host::settings::kLower, 0.25);
  ASSERT_EQ(plugin_host::SetSettings(*first, changed), XIP_OK);
  ASSERT_EQ(first->SetParam(XIP_PARAM_OBJECT_INDEX, 3, 0), XIP_OK);

  EXPECT_EQ(plugin_host::settings::Read<double>(plugin_host::GetSettings(*first), plugin_host::settings::kLower), 0.25);
  EXPECT_EQ(plugin_host::settings::Read<double>(plugin_host::GetSettings(*second), plugin_host::settings::kLower), 0.0);
  EXPECT_EQ(plugin_host::GetProfileIndex(*first), 3u);
  EXPECT_EQ(plugin_host::GetProfileIndex(*second), 0u);
}

TEST(CatalogueTest, PseudoColorObjectLogsItsConstructionAndDestruction) {
  xelfw::RecordingLogger logger;
  xelfw::InstanceRecord record(&logger, 1);
  CXelImgProcess_0* object = Library().CreateInstance(96, &record);
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(logger.Contains("CXelPseudoColorClass::CXelPseudoColorClass"));
  EXPECT_FALSE(logger.Contains("CXelPseudoColorClass::~CXelPseudoColorClass"));
  Library().DeleteInstance(object);
  EXPECT_TRUE(logger.Contains("CXelPseudoColorClass::~CXelPseudoColorClass"));
}

}  // namespace
