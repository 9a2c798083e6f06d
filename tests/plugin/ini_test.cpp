#include "plugin_host.h"

#include <xelfw/IniStore.h>

#include <string>
#include <vector>

namespace {

using namespace plugin_host;

constexpr char kSection[] = "PseudoColor";

class IniTest : public ::testing::Test {
 protected:
  UINT Import(HostedObject& host, UINT mode = XIP_INI_MODE_ALL) {
    return host->SetParam(XIP_PARAM_INI, context.Handle(), mode);
  }
  UINT Export(HostedObject& host, UINT mode = XIP_INI_MODE_ALL) {
    return host->GetParam(XIP_PARAM_INI, context.Handle(), mode);
  }

  xelfw::IniStore store;
  xelfw::IniContext context{store, kSection};
  HostedObject first;
  HostedObject second;
};

TEST_F(IniTest, ExportWritesTheSixteenKeysInOrderAndImportRestoresThem) {
  Settings changed = GetSettings(first.object);
  Write(changed, kLower, 0.125);
  Write(changed, kUnitMin, -40.5);
  Write(changed, kAutoContrastMinWidthEnable, 7u);  // any non-zero flag travels as 1
  Write(changed, kAutoMode, 2u);
  std::memcpy(changed.data() + kUnitDesc, "K", 2);
  ASSERT_EQ(SetSettings(first.object, changed), XIP_OK);
  UINT steps = 90;
  ASSERT_EQ(first->SetParam(13, reinterpret_cast<UINT_PTR>(&steps), 4), XIP_OK);
  ASSERT_EQ(first->SetParam(XIP_PARAM_OBJECT_INDEX, 2, 0), XIP_OK);

  ASSERT_EQ(Export(first), XIP_OK);
  std::vector<std::string> keys = store.Keys(kSection);
  std::erase_if(keys, [](const std::string& key) { return key.starts_with("Host"); });
  EXPECT_EQ(keys, (std::vector<std::string>{"Lower", "Upper", "UnitMin", "UnitMax", "AutoContrastMinLevel",
                                            "AutoContrastMaxLevel", "AutoContrastDestRange",
                                            "AutoContrastMinWidthEnable", "AutoCntrastMinWidth",
                                            "AutoContrastMaxWidthEnable", "AutoCntrastMaxWidth", "AutoMode",
                                            "UnitUseNormalization", "UnitDesc", "SliderSteps", "ColorProfileIndex"}));
  EXPECT_EQ(store.GetInt(kSection, "AutoContrastMinWidthEnable"), 1);

  EXPECT_EQ(Import(second), XIP_OK);
  Write(changed, kAutoContrastMinWidthEnable, 1u);
  EXPECT_EQ(GetSettings(second.object), changed);
  EXPECT_EQ(SliderSteps(second.object), 90u);
  EXPECT_EQ(ProfileIndex(second.object), 2u);
}

TEST_F(IniTest, AnIncompleteFileAppliesWhatItHoldsAndDefaultsTheRest) {
  SetField(first.object, kUpper, 0.4);
  store.SetDouble(kSection, "Lower", 0.3);
  store.SetString(kSection, "UnitMin", "warm");  // unreadable counts as missing
  store.SetInt(kSection, "SliderSteps", 50);
  EXPECT_EQ(Import(first), XIP_E_INCOMPLETE_IMPORT);
  const Settings imported = GetSettings(first.object);
  EXPECT_EQ(Read<double>(imported, kLower), 0.3);
  EXPECT_EQ(Read<double>(imported, kUpper), 1.0);
  EXPECT_EQ(Read<double>(imported, kUnitMin), 20.0);
  EXPECT_EQ(SliderSteps(first.object), 50u);
}

TEST_F(IniTest, AutoModeFallsBackToTheOldSwitchAndIsOtherwiseTakenAsWritten) {
  ASSERT_EQ(Export(second), XIP_OK);
  store.RemoveKey(kSection, "AutoMode");
  store.SetInt(kSection, "AutoContrastEnabled", 5);
  EXPECT_EQ(Import(first), XIP_OK);
  EXPECT_EQ(Read<UINT>(GetSettings(first.object), kAutoMode), 1u);

  store.RemoveKey(kSection, "AutoContrastEnabled");
  EXPECT_EQ(Import(first), XIP_E_INCOMPLETE_IMPORT);

  store.SetInt(kSection, "AutoMode", 7);
  EXPECT_EQ(Import(first), XIP_OK);
  EXPECT_EQ(Read<UINT>(GetSettings(first.object), kAutoMode), 7u);
}

TEST_F(IniTest, AProfileIndexThatNamesNoProfileIsNotTaken) {
  ASSERT_EQ(Export(second), XIP_OK);
  ASSERT_EQ(first->SetParam(XIP_PARAM_OBJECT_INDEX, 3, 0), XIP_OK);
  store.SetInt(kSection, "ColorProfileIndex", 9);
  EXPECT_EQ(Import(first), XIP_E_INCOMPLETE_IMPORT);
  EXPECT_EQ(ProfileIndex(first.object), 0u);
}

TEST_F(IniTest, OtherModesAndNullContextsLeaveTheSettingsAlone) {
  store.SetDouble(kSection, "Lower", 0.5);
  Import(first, XIP_INI_MODE_HOST);
  EXPECT_EQ(Read<double>(GetSettings(first.object), kLower), 0.0);
  EXPECT_EQ(first->SetParam(XIP_PARAM_INI, 0, XIP_INI_MODE_ALL), XIP_E_BADARG);
  EXPECT_EQ(first->GetParam(XIP_PARAM_INI, 0, XIP_INI_MODE_ALL), XIP_E_BADARG);

  store.RemoveKey(kSection, "Lower");
  EXPECT_EQ(Export(first, XIP_INI_MODE_PLACEMENT), XIP_OK);
  EXPECT_FALSE(store.HasKey(kSection, "Lower"));
}

}  // namespace
