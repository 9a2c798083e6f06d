#include "plugin_host.h"

#include <XelImgProcess/CXelImgProcess.h>

#include <string>

namespace {

using namespace plugin_host;

// The library's application object belongs to the library's own module state, not to the host's.
TEST(CatalogueTest, LoadingLeavesTheHostsModuleStateAlone) {
  AFX_MODULE_STATE* hostState = AfxGetModuleState();
  Library();
  EXPECT_EQ(AfxGetModuleState(), hostState);
  EXPECT_EQ(hostState->m_pCurrentWinApp, nullptr);
}

TEST(CatalogueTest, ListsTheTwoObjectsAndNothingElse) {
  const xelfw::PluginLibrary& library = Library();
  ASSERT_EQ(library.GetNumObj(), 2u);
  EXPECT_EQ(library.GetObjType(0), 96u);
  EXPECT_EQ(library.GetObjType(1), 97u);
  EXPECT_EQ(library.GetObjType(2), 0u);
  EXPECT_EQ(std::string(library.GetObjInfo(96, 0)), "Pseudo color lut");
  EXPECT_EQ(std::string(library.GetObjInfo(97, 0)), "Temperature display");
  EXPECT_EQ(library.GetObjInfo(96, 1), nullptr);
  EXPECT_EQ(library.GetObjInfo(67, 0), nullptr);

  xelfw::InstanceRecord record(nullptr, 1);
  for (UINT type : {0u, 67u, 98u}) EXPECT_EQ(library.CreateInstance(type, &record), nullptr) << type;
  EXPECT_EQ(record.LiveObjects(), 0u);
}

TEST(CatalogueTest, MakesEachTypeAndReturnsItsHelpersWhenDeleted) {
  for (UINT type : {96u, 97u}) {
    xelfw::RecordingLogger logger;
    xelfw::InstanceRecord record(&logger, 1);
    CXelImgProcess_0* object = Library().CreateInstance(type, &record);
    ASSERT_NE(object, nullptr) << type;
    EXPECT_EQ(object->GetObjType(), type);
    EXPECT_GT(record.LiveObjects(), 0u) << type;  // the statistics object it borrowed
    Library().DeleteInstance(object);
    EXPECT_EQ(record.LiveObjects(), 0u) << type;
    if (type == 96) {
      EXPECT_TRUE(logger.Contains("CXelPseudoColorClass::CXelPseudoColorClass"));
      EXPECT_TRUE(logger.Contains("CXelPseudoColorClass::~CXelPseudoColorClass"));
    }
  }
}

// An object of the host's own kind, which the library did not make and must not destroy.
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
  EXPECT_TRUE(destroyed);
}

TEST(CatalogueTest, ObjectsOfTheSameTypeAreIndependent) {
  HostedObject first;
  HostedObject second;
  SetField(first.object, kLower, 0.25);
  ASSERT_EQ(first->SetParam(XIP_PARAM_OBJECT_INDEX, 3, 0), XIP_OK);
  EXPECT_EQ(Read<double>(GetSettings(second.object), kLower), 0.0);
  EXPECT_EQ(ProfileIndex(second.object), 0u);
}

}  // namespace
