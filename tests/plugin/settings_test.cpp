#include "plugin_host.h"

#include <xelfw/Image.h>

namespace {

using namespace plugin_host;

void ExpectDefaults(const Settings& r) {
  EXPECT_EQ(Read<double>(r, kLower), 0.0);
  EXPECT_EQ(Read<double>(r, kUpper), 1.0);
  EXPECT_EQ(Read<double>(r, kUnitMin), 20.0);
  EXPECT_EQ(Read<double>(r, kUnitMax), 200.0);
  EXPECT_EQ(Read<double>(r, kAutoContrastMinLevel), 0.02);
  EXPECT_EQ(Read<UINT>(r, kUnitUseNormalization), 1u);
  EXPECT_EQ(Read<UINT>(r, kAutoMode), 0u);
  EXPECT_EQ(r[96], 0xB0);
  EXPECT_EQ(r[97], 0x43);
  EXPECT_EQ(r[98], 0x00);
}

TEST(SettingsTest, RecordRoundTripsAndANullRecordRestoresTheDefaults) {
  HostedObject host;
  ExpectDefaults(GetSettings(host.object));
  EXPECT_EQ(SliderSteps(host.object), 180u);

  Settings changed = GetSettings(host.object);
  Write(changed, kUpper, 0.7);
  Write(changed, kAutoMode, 2u);
  std::memcpy(changed.data() + kUnitDesc, "K", 2);
  ASSERT_EQ(SetSettings(host.object, changed), XIP_OK);
  EXPECT_EQ(GetSettings(host.object), changed);

  EXPECT_EQ(host->SetParam(12, 0, 7), XIP_OK);  // the size of a reset is not looked at
  ExpectDefaults(GetSettings(host.object));
}

TEST(ParamsTest, BadArgumentsAreRefusedAndChangeNothing) {
  HostedObject host;
  Settings changed = GetSettings(host.object);
  Write(changed, kLower, 0.5);
  EXPECT_EQ(host->SetParam(12, reinterpret_cast<UINT_PTR>(changed.data()), 127), XIP_E_BADARG);
  std::array<BYTE, 129> big{};
  EXPECT_EQ(host->GetParam(12, reinterpret_cast<UINT_PTR>(big.data()), big.size()), XIP_E_BADARG);
  EXPECT_EQ(big, (std::array<BYTE, 129>{}));
  ExpectDefaults(GetSettings(host.object));

  UINT steps = 300;
  EXPECT_EQ(host->SetParam(13, 0, 4), XIP_E_BADARG);
  EXPECT_EQ(host->SetParam(13, reinterpret_cast<UINT_PTR>(&steps), 8), XIP_E_BADARG);
  EXPECT_EQ(SliderSteps(host.object), 180u);
  ASSERT_EQ(host->SetParam(13, reinterpret_cast<UINT_PTR>(&steps), 4), XIP_OK);
  EXPECT_EQ(SliderSteps(host.object), 300u);

  EXPECT_EQ(host->SetParam(XIP_PARAM_OBJECT_INDEX, 5, 0), XIP_E_BADARG);
  EXPECT_EQ(ProfileIndex(host.object), 0u);
  EXPECT_EQ(host->SetParam(XIP_PARAM_OBJECT_INDEX, 4, 0), XIP_OK);
  EXPECT_EQ(ProfileIndex(host.object), 4u);

  const char* caption = "unset";
  EXPECT_EQ(host->GetParam(XIP_PARAM_USER_BUTTON_TEXT, 1, reinterpret_cast<UINT_PTR>(&caption)), XIP_OK);
  EXPECT_STREQ(caption, "");
  EXPECT_EQ(host->GetParam(XIP_PARAM_USER_BUTTON_TEXT, 2, reinterpret_cast<UINT_PTR>(&caption)), XIP_E_BADARG);
}

TEST(ParamsTest, ReportsTheLimitsOfEveryParameterItKnows) {
  HostedObject host;
  struct Limits {
    UINT minValue = 0xDEAD, maxValue = 0xDEAD, minSize = 0xDEAD, maxSize = 0xDEAD;
    bool operator==(const Limits&) const = default;
  };
  auto limitsOf = [&](UINT id) {
    Limits l;
    EXPECT_EQ(host->GetParamLimits(id, &l.minValue, &l.maxValue, &l.minSize, &l.maxSize), XIP_OK) << id;
    return l;
  };
  EXPECT_EQ(limitsOf(12), (Limits{0, 0xFFFFFFFF, 128, 128}));
  EXPECT_EQ(limitsOf(13), (Limits{0, 0xFFFFFFFF, 4, 4}));
  EXPECT_EQ(limitsOf(17), (Limits{0, 0xFFFFFFFF, 0, 2}));
  EXPECT_EQ(limitsOf(20), (Limits{0, 1, 0, 0xFFFFFFFF}));
  EXPECT_EQ(limitsOf(XIP_PARAM_OBJECT_INDEX), (Limits{0, 4, 0, 0}));
}

TEST(SettingsTest, UnitConverterFollowsTheSettingsAndTheGreySpanOfTheLastChange) {
  HostedObject host;
  xelfw::UnitConverter* converter = host.record.converter;
  ASSERT_NE(converter, nullptr);
  Settings changed = GetSettings(host.object);
  Write(changed, kUnitMin, -10.0);
  Write(changed, kUnitMax, 40.0);
  Write(changed, kUnitUseNormalization, 0u);
  std::memcpy(changed.data() + kUnitDesc, "mK", 3);
  ASSERT_EQ(SetSettings(host.object, changed), XIP_OK);
  EXPECT_EQ(converter->Scale(), 50.0);  // no frame yet: a span of 1
  EXPECT_EQ(converter->Offset(), -10.0);
  EXPECT_FALSE(converter->Normalization());
  EXPECT_STREQ(converter->GetUnitText(), "mK");

  // A frame learns the span of a 12-bit source; the converter takes it at the next settings change.
  xelfw::Image source{4, 4, xelfw::PixelLayout::Grey(12, 16)};
  xelfw::Image destination{4, 4, xelfw::PixelLayout::Colour(8, 3)};
  host->SetImage(0, &source);
  host->SetImage(1, &destination);
  ASSERT_EQ(host->Process(0), XIP_OK);
  EXPECT_EQ(converter->Scale(), 50.0);
  ASSERT_EQ(host->SetParam(12, 0, 0), XIP_OK);
  EXPECT_EQ(converter->Scale(), 180.0 / 4095);
  EXPECT_EQ(converter->Offset(), 20.0);
  EXPECT_TRUE(converter->Normalization());
}

}  // namespace
