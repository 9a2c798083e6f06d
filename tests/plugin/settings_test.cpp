#include "tests/plugin/plugin_host.h"

#include <xelfw/Image.h>

namespace {

using plugin_host::HostedObject;
using plugin_host::kParamSettings;
using plugin_host::kParamSliderSteps;
namespace s = plugin_host::settings;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(host.object, nullptr); }
  CXelImgProcess_0& Object() { return *host; }

  HostedObject host{XIP_OBJTYPE_PSEUDOCOLOR_LUT};
};

void ExpectDefaults(const s::Record& r) {
  EXPECT_EQ(s::Read<double>(r, s::kLower), 0.0);
  EXPECT_EQ(s::Read<double>(r, s::kUpper), 1.0);
  EXPECT_EQ(s::Read<double>(r, s::kUnitMin), 20.0);
  EXPECT_EQ(s::Read<double>(r, s::kUnitMax), 200.0);
  EXPECT_EQ(s::Read<double>(r, s::kAutoContrastMinLevel), 0.02);
  EXPECT_EQ(s::Read<double>(r, s::kAutoContrastMaxLevel), 0.98);
  EXPECT_EQ(s::Read<double>(r, s::kAutoContrastDestRange), 1.0);
  EXPECT_EQ(s::Read<UINT>(r, s::kAutoContrastMinWidthEnable), 0u);
  EXPECT_EQ(s::Read<double>(r, s::kAutoCntrastMinWidth), 0.1);
  EXPECT_EQ(s::Read<UINT>(r, s::kAutoContrastMaxWidthEnable), 0u);
  EXPECT_EQ(s::Read<double>(r, s::kAutoCntrastMaxWidth), 0.9);
  EXPECT_EQ(s::Read<UINT>(r, s::kUnitUseNormalization), 1u);
  EXPECT_EQ(s::Read<UINT>(r, s::kAutoMode), 0u);
  EXPECT_EQ(r[96], 0xB0);
  EXPECT_EQ(r[97], 0x43);
  EXPECT_EQ(r[98], 0x00);
}

TEST_F(SettingsTest, StartsWithTheDefaultRecordAndSliderSteps) {
  ExpectDefaults(plugin_host::GetSettings(Object()));
  EXPECT_EQ(plugin_host::GetSliderSteps(Object()), 180u);
  EXPECT_EQ(plugin_host::GetProfileIndex(Object()), 0u);
}

TEST_F(SettingsTest, RecordRoundTripsAndANullRecordRestoresTheDefaults) {
  s::Record changed = plugin_host::GetSettings(Object());
  s::Write(changed, s::kLower, 0.2);
  s::Write(changed, s::kUpper, 0.7);
  s::Write(changed, s::kAutoMode, 2u);
  std::memcpy(changed.data() + s::kUnitDesc, "K", 2);
  ASSERT_EQ(plugin_host::SetSettings(Object(), changed), XIP_OK);
  EXPECT_EQ(plugin_host::GetSettings(Object()), changed);

  // Size is not looked at for a reset.
  EXPECT_EQ(Object().SetParam(kParamSettings, 0, 7), XIP_OK);
  ExpectDefaults(plugin_host::GetSettings(Object()));
}

TEST_F(SettingsTest, WrongSizesAndNullBuffersAreRefusedAndChangeNothing) {
  s::Record changed = plugin_host::GetSettings(Object());
  s::Write(changed, s::kLower, 0.5);
  for (UINT_PTR size : {0u, 127u, 129u})
    EXPECT_EQ(Object().SetParam(kParamSettings, reinterpret_cast<UINT_PTR>(changed.data()), size), XIP_E_BADARG);
  ExpectDefaults(plugin_host::GetSettings(Object()));

  std::array<BYTE, 129> big{};
  EXPECT_EQ(Object().GetParam(kParamSettings, reinterpret_cast<UINT_PTR>(big.data()), 129), XIP_E_BADARG);
  EXPECT_EQ(Object().GetParam(kParamSettings, 0, 128), XIP_E_BADARG);
  EXPECT_EQ(big, (std::array<BYTE, 129>{}));

  UINT steps = 300;
  EXPECT_EQ(Object().SetParam(kParamSliderSteps, 0, 4), XIP_E_BADARG);
  EXPECT_EQ(Object().SetParam(kParamSliderSteps, reinterpret_cast<UINT_PTR>(&steps), 8), XIP_E_BADARG);
  EXPECT_EQ(Object().GetParam(kParamSliderSteps, reinterpret_cast<UINT_PTR>(&steps), 2), XIP_E_BADARG);
  EXPECT_EQ(plugin_host::GetSliderSteps(Object()), 180u);
  ASSERT_EQ(Object().SetParam(kParamSliderSteps, reinterpret_cast<UINT_PTR>(&steps), 4), XIP_OK);
  EXPECT_EQ(plugin_host::GetSliderSteps(Object()), 300u);
}

TEST_F(SettingsTest, ProfileIndexAcceptsOnlyExistingProfiles) {
  EXPECT_EQ(Object().SetParam(XIP_PARAM_OBJECT_INDEX, 5, 0), XIP_E_BADARG);
  EXPECT_EQ(plugin_host::GetProfileIndex(Object()), 0u);
  EXPECT_EQ(Object().SetParam(XIP_PARAM_OBJECT_INDEX, 4, 0), XIP_OK);

  UINT index = 0;
  UINT extra = 77;
  EXPECT_EQ(Object().GetParam(XIP_PARAM_OBJECT_INDEX, reinterpret_cast<UINT_PTR>(&index),
                              reinterpret_cast<UINT_PTR>(&extra)),
            XIP_OK);
  EXPECT_EQ(index, 4u);
  EXPECT_EQ(extra, 0u);
  EXPECT_EQ(Object().GetParam(XIP_PARAM_OBJECT_INDEX, 0, 0), XIP_OK);
}

TEST_F(SettingsTest, UserButtonCaptionsExistForTheTwoButtonsOnly) {
  const char* caption = "unset";
  EXPECT_EQ(Object().GetParam(XIP_PARAM_USER_BUTTON_TEXT, 1, reinterpret_cast<UINT_PTR>(&caption)), XIP_OK);
  EXPECT_STREQ(caption, "");
  EXPECT_EQ(Object().GetParam(XIP_PARAM_USER_BUTTON_TEXT, 2, reinterpret_cast<UINT_PTR>(&caption)), XIP_E_BADARG);
  EXPECT_EQ(Object().GetParam(XIP_PARAM_USER_BUTTON_TEXT, 0, 0), XIP_E_BADARG);
}

struct Limits {
  UINT minValue = 0xDEAD, maxValue = 0xDEAD, minSize = 0xDEAD, maxSize = 0xDEAD;
  bool operator==(const Limits&) const = default;
};

Limits LimitsOf(CXelImgProcess_0& object, UINT id, UINT expectedResult = XIP_OK) {
  Limits limits;
  EXPECT_EQ(object.GetParamLimits(id, &limits.minValue, &limits.maxValue, &limits.minSize, &limits.maxSize),
            expectedResult)
      << id;
  return limits;
}

TEST_F(SettingsTest, ReportsTheLimitsOfEveryParameterItKnows) {
  EXPECT_EQ(LimitsOf(Object(), 12), (Limits{0, 0xFFFFFFFF, 128, 128}));
  EXPECT_EQ(LimitsOf(Object(), 13), (Limits{0, 0xFFFFFFFF, 4, 4}));
  EXPECT_EQ(LimitsOf(Object(), 17), (Limits{0, 0xFFFFFFFF, 0, 2}));
  EXPECT_EQ(LimitsOf(Object(), 20), (Limits{0, 1, 0, 0xFFFFFFFF}));
  EXPECT_EQ(LimitsOf(Object(), 21), (Limits{0, 1, 0, 0xFFFFFFFF}));
  EXPECT_EQ(LimitsOf(Object(), XIP_PARAM_OBJECT_INDEX), (Limits{0, 4, 0, 0}));
  // Outputs without a pointer are skipped.
  EXPECT_EQ(Object().GetParamLimits(12, nullptr, nullptr, nullptr, nullptr), XIP_OK);
}

TEST_F(SettingsTest, UnitConverterFollowsTheSettingsAndTheGreySpanOfTheLastChange) {
  xelfw::UnitConverter* converter = host.record.converter;
  ASSERT_NE(converter, nullptr);
  EXPECT_EQ(converter->Decimals(), 2u);

  s::Record changed = plugin_host::GetSettings(Object());
  s::Write(changed, s::kUnitMin, -10.0);
  s::Write(changed, s::kUnitMax, 40.0);
  s::Write(changed, s::kUnitUseNormalization, 5u);
  std::memcpy(changed.data() + s::kUnitDesc, "mK", 3);
  ASSERT_EQ(plugin_host::SetSettings(Object(), changed), XIP_OK);
  // No image has been processed: the span is still 1.
  EXPECT_EQ(converter->Scale(), 50.0);
  EXPECT_EQ(converter->Offset(), -10.0);
  EXPECT_TRUE(converter->Normalization());
  EXPECT_STREQ(converter->GetUnitText(), "mK");

  s::Write(changed, s::kUnitUseNormalization, 0u);
  ASSERT_EQ(plugin_host::SetSettings(Object(), changed), XIP_OK);
  EXPECT_FALSE(converter->Normalization());

  // A frame learns the span of a 12-bit source; the converter takes it at the next settings change.
  xelfw::Image source{4, 4, xelfw::PixelLayout::Grey(12, 16)};
  xelfw::Image destination{4, 4, xelfw::PixelLayout::Colour(8, 3)};
  Object().SetImage(0, &source);
  Object().SetImage(1, &destination);
  ASSERT_EQ(Object().Process(0), XIP_OK);
  EXPECT_EQ(converter->Scale(), 50.0);
  ASSERT_EQ(Object().SetParam(kParamSettings, 0, 0), XIP_OK);
  EXPECT_EQ(converter->Scale(), 180.0 / 4095);
  EXPECT_EQ(converter->Offset(), 20.0);
  EXPECT_STREQ(converter->GetUnitText(), "\xB0" "C");
}

}  // namespace
