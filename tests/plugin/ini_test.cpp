#include "tests/plugin/plugin_host.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using plugin_host::HostedObject;
namespace s = plugin_host::settings;

const std::vector<std::string> kObjectKeys = {
    "Lower", "Upper", "UnitMin", "UnitMax", "AutoContrastMinLevel", "AutoContrastMaxLevel",
    "AutoContrastDestRange", "AutoContrastMinWidthEnable", "AutoCntrastMinWidth", "AutoContrastMaxWidthEnable",
    "AutoCntrastMaxWidth", "AutoMode", "UnitUseNormalization", "UnitDesc", "SliderSteps", "ColorProfileIndex"};

constexpr char kSection[] = "PseudoColor";

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(first.object, nullptr);
    ASSERT_NE(second.object, nullptr);
  }

  UINT Import(CXelImgProcess_0& object, UINT mode = XIP_INI_MODE_ALL) {
    return object.SetParam(XIP_PARAM_INI, context.Handle(), mode);
  }
  UINT Export(CXelImgProcess_0& object, UINT mode = XIP_INI_MODE_ALL) {
    return object.GetParam(XIP_PARAM_INI, context.Handle(), mode);
  }
  // A complete set of the object's keys, holding the defaults.
  void StoreDefaults() { ASSERT_EQ(Export(*second), XIP_OK); }

  xelfw::IniStore store;
  xelfw::IniContext context{store, kSection};
  HostedObject first{XIP_OBJTYPE_PSEUDOCOLOR_LUT};
  HostedObject second{XIP_OBJTYPE_PSEUDOCOLOR_LUT};
};

TEST_F(IniTest, ExportWritesTheSixteenKeysInOrderAndImportRestoresThem) {
  s::Record changed = plugin_host::GetSettings(*first);
  s::Write(changed, s::kLower, 0.125);
  s::Write(changed, s::kUpper, 0.875);
  s::Write(changed, s::kUnitMin, -40.5);
  s::Write(changed, s::kAutoCntrastMaxWidth, 0.6);
  s::Write(changed, s::kAutoContrastMaxWidthEnable, 1u);
  s::Write(changed, s::kAutoMode, 2u);
  std::memcpy(changed.data() + s::kUnitDesc, "K", 2);
  ASSERT_EQ(plugin_host::SetSettings(*first, changed), XIP_OK);
  UINT steps = 90;
  ASSERT_EQ(first->SetParam(plugin_host::kParamSliderSteps, reinterpret_cast<UINT_PTR>(&steps), 4), XIP_OK);
  ASSERT_EQ(first->SetParam(XIP_PARAM_OBJECT_INDEX, 2, 0), XIP_OK);

  ASSERT_EQ(Export(*first), XIP_OK);
  std::vector<std::string> written = store.Keys(kSection);
  written.erase(std::remove_if(written.begin(), written.end(),
                               [](const std::string& key) {
                                 return std::find(kObjectKeys.begin(), kObjectKeys.end(), key) == kObjectKeys.end();
                               }),
                written.end());
  EXPECT_EQ(written, kObjectKeys);
  EXPECT_EQ(store.GetString(kSection, "UnitDesc"), "K");

  EXPECT_EQ(Import(*second), XIP_OK);
  EXPECT_EQ(plugin_host::GetSettings(*second), changed);
  EXPECT_EQ(plugin_host::GetSliderSteps(*second), 90u);
  EXPECT_EQ(plugin_host::GetProfileIndex(*second), 2u);
}

TEST_F(IniTest, BooleansAreWrittenAsZeroOrOneAndReadBackTheSameWay) {
  s::Record changed = plugin_host::GetSettings(*first);
  s::Write(changed, s::kAutoContrastMinWidthEnable, 7u);
  s::Write(changed, s::kUnitUseNormalization, 0u);
  ASSERT_EQ(plugin_host::SetSettings(*first, changed), XIP_OK);
  ASSERT_EQ(Export(*first), XIP_OK);
  EXPECT_EQ(store.GetInt(kSection, "AutoContrastMinWidthEnable"), 1);
  EXPECT_EQ(store.GetInt(kSection, "UnitUseNormalization"), 0);

  store.SetInt(kSection, "AutoContrastMaxWidthEnable", -3);
  ASSERT_EQ(Import(*second), XIP_OK);
  const s::Record imported = plugin_host::GetSettings(*second);
  EXPECT_EQ(s::Read<UINT>(imported, s::kAutoContrastMinWidthEnable), 1u);
  EXPECT_EQ(s::Read<UINT>(imported, s::kAutoContrastMaxWidthEnable), 1u);
  EXPECT_EQ(s::Read<UINT>(imported, s::kUnitUseNormalization), 0u);
}

TEST_F(IniTest, IncompleteSettingsApplyWhatWasReadAndReportIt) {
  store.SetDouble(kSection, "Lower", 0.3);
  store.SetInt(kSection, "SliderSteps", 50);
  s::Record changed = plugin_host::GetSettings(*first);
  s::Write(changed, s::kUpper, 0.4);
  ASSERT_EQ(plugin_host::SetSettings(*first, changed), XIP_OK);

  EXPECT_EQ(Import(*first), XIP_E_INCOMPLETE_IMPORT);
  const s::Record imported = plugin_host::GetSettings(*first);
  EXPECT_EQ(s::Read<double>(imported, s::kLower), 0.3);
  EXPECT_EQ(s::Read<double>(imported, s::kUpper), 1.0);  // missing: back to its default
  EXPECT_EQ(s::Read<double>(imported, s::kUnitMax), 200.0);
  EXPECT_EQ(s::UnitText(imported), "\xB0" "C");
  EXPECT_EQ(plugin_host::GetSliderSteps(*first), 50u);
}

TEST_F(IniTest, UnreadableValuesCountAsMissing) {
  StoreDefaults();
  store.SetString(kSection, "UnitMin", "warm");
  s::Record changed = plugin_host::GetSettings(*first);
  s::Write(changed, s::kUnitMin, 5.0);
  ASSERT_EQ(plugin_host::SetSettings(*first, changed), XIP_OK);
  EXPECT_EQ(Import(*first), XIP_E_INCOMPLETE_IMPORT);
  EXPECT_EQ(s::Read<double>(plugin_host::GetSettings(*first), s::kUnitMin), 20.0);
}

TEST_F(IniTest, OldFilesWithOnlyTheAutoContrastSwitchStillImport) {
  StoreDefaults();
  store.RemoveKey(kSection, "AutoMode");
  store.SetInt(kSection, "AutoContrastEnabled", 5);
  EXPECT_EQ(Import(*first), XIP_OK);
  EXPECT_EQ(s::Read<UINT>(plugin_host::GetSettings(*first), s::kAutoMode), 1u);

  // Neither key: the fallback fails, and with it the import.
  store.RemoveKey(kSection, "AutoContrastEnabled");
  EXPECT_EQ(Import(*first), XIP_E_INCOMPLETE_IMPORT);
  EXPECT_EQ(s::Read<UINT>(plugin_host::GetSettings(*first), s::kAutoMode), 0u);
}

TEST_F(IniTest, AutoModeIsTakenAsWrittenEvenWhenItNamesNoMode) {
  StoreDefaults();
  store.SetInt(kSection, "AutoMode", 7);
  EXPECT_EQ(Import(*first), XIP_OK);
  EXPECT_EQ(s::Read<UINT>(plugin_host::GetSettings(*first), s::kAutoMode), 7u);
}

TEST_F(IniTest, AProfileIndexThatNamesNoProfileIsNotTaken) {
  StoreDefaults();
  ASSERT_EQ(first->SetParam(XIP_PARAM_OBJECT_INDEX, 3, 0), XIP_OK);
  store.SetInt(kSection, "ColorProfileIndex", 9);
  EXPECT_EQ(Import(*first), XIP_E_INCOMPLETE_IMPORT);
  EXPECT_EQ(plugin_host::GetProfileIndex(*first), 0u);
}

TEST_F(IniTest, AUnitTextLongerThanTheRecordIsCutToFit) {
  StoreDefaults();
  store.SetString(kSection, "UnitDesc", std::string(40, 'x'));
  EXPECT_EQ(Import(*first), XIP_OK);
  EXPECT_EQ(s::UnitText(plugin_host::GetSettings(*first)), std::string(31, 'x'));
}

TEST_F(IniTest, OtherModesLeaveTheObjectsKeysAlone) {
  store.SetDouble(kSection, "Lower", 0.5);
  Import(*first, XIP_INI_MODE_HOST);
  EXPECT_EQ(s::Read<double>(plugin_host::GetSettings(*first), s::kLower), 0.0);

  xelfw::IniStore other;
  xelfw::IniContext otherContext(other, kSection);
  EXPECT_EQ(first->GetParam(XIP_PARAM_INI, otherContext.Handle(), XIP_INI_MODE_PLACEMENT), XIP_OK);
  EXPECT_FALSE(other.HasKey(kSection, "Lower"));
}

TEST_F(IniTest, ANullContextIsRefused) {
  EXPECT_EQ(first->SetParam(XIP_PARAM_INI, 0, XIP_INI_MODE_ALL), XIP_E_BADARG);
  EXPECT_EQ(first->GetParam(XIP_PARAM_INI, 0, XIP_INI_MODE_ALL), XIP_E_BADARG);
}

}  // namespace
