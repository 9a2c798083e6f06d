// Loading plug-ins by path and hosting one of their objects.
#include <xelfw/Image.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/ProcessingHost.h>

#include <gtest/gtest.h>

#include <string>

using xelfw::PluginError;
using xelfw::PluginLibrary;

namespace {

std::string LoadError(const char* path) {
  try {
    PluginLibrary library(path);
  } catch (const PluginError& e) {
    return e.what();
  }
  return "loaded";
}

}  // namespace

TEST(PluginLoaderTest, ResolvesTheCatalogueOfALibrary) {
  const PluginLibrary library(XEL_TEST_PLUGIN_PATH);
  ASSERT_EQ(library.GetNumObj(), 1u);
  EXPECT_EQ(library.GetObjType(0), 200u);
  EXPECT_STREQ(library.GetObjInfo(200, 0), "Counter");
  EXPECT_EQ(library.GetObjInfo(200, 1), nullptr);
}

TEST(PluginLoaderTest, ReportsAMissingLibraryOrExport) {
  const std::string missing = LoadError("/nonexistent/libNothing.so");
  EXPECT_EQ(missing.rfind("cannot load plug-in '/nonexistent/libNothing.so': ", 0), 0u) << missing;
  EXPECT_EQ(LoadError(XEL_PARTIAL_PLUGIN_PATH),
            std::string("plug-in '") + XEL_PARTIAL_PLUGIN_PATH + "' does not export XelImgProcessDeleteInstance");
}

TEST(PluginLoaderTest, ALibraryMovesWithItsHandle) {
  PluginLibrary first(XEL_TEST_PLUGIN_PATH);
  PluginLibrary second(std::move(first));
  EXPECT_EQ(second.GetNumObj(), 1u);
  EXPECT_EQ(second.Path(), XEL_TEST_PLUGIN_PATH);
}

TEST(ProcessingHostTest, SetsUpAnObjectInAFewLines) {
  const PluginLibrary library(XEL_TEST_PLUGIN_PATH);
  xelfw::ProcessingHost host(library, 200);
  xelfw::Image source(32, 8, xelfw::PixelLayout::Grey(8, 8));
  EXPECT_EQ(host.Process(), XIP_E_NOIMAGE);
  const xelfw::Aoi aoi = xelfw::Aoi::FromSize(0, 0, 20, 8);
  host.SetSource(&source, &aoi);
  ASSERT_EQ(host.Process(), XIP_OK);
  EXPECT_EQ(*static_cast<UINT*>(host.Object().GetSpecialData(0)), 20u);

  const xelfw::Aoi narrow = xelfw::Aoi::FromSize(0, 0, 5, 8);
  host.SetSource(&source, &narrow);
  ASSERT_EQ(host.Object().SetParam(XIP_PARAM_SWITCH_ACTIVE, 0, 0), XIP_OK);
  EXPECT_EQ(host.Process(), XIP_OK);
  EXPECT_EQ(*static_cast<UINT*>(host.Object().GetSpecialData(0)), 20u) << "an inactive object does not run";

  try {
    xelfw::ProcessingHost wrongType(library, 96);
    FAIL() << "an object the library does not make";
  } catch (const PluginError& e) {
    EXPECT_NE(std::string(e.what()).find("makes no object of type 96"), std::string::npos);
  }
}
