// The unit converter as the pseudo-colour object sets it up and its dialogs read it.
#include <XelImgProcess/CXelUnitConverter_0.h>
#include <xelfw/InstanceRecord.h>
#include <xelfw/UnitConverter.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class UnitConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    object = record.CreateInstance_XIObject(XI_OBJTYPE_UNIT_CONVERTER, 1);
    converter = dynamic_cast<CXelUnitConverter_0*>(object);
    ASSERT_NE(converter, nullptr);
    // 12-bit source shown as 20 .. 200 degrees.
    const double scaleOffset[2] = {180.0 / 4095.0, 20.0};
    ASSERT_EQ(converter->SetConvParam(XI_CONV_PARAM_DECIMALS, 2, 0, 0, 0), XIP_OK);
    ASSERT_EQ(converter->SetConvParam(XI_CONV_PARAM_SCALE_OFFSET, reinterpret_cast<UINT_PTR>(scaleOffset), 0, 0, 0),
              XIP_OK);
    converter->SetUnitText(
        "\xB0"
        "C");
  }
  void TearDown() override { record.DeleteInstance_XIObject(XI_OBJTYPE_UNIT_CONVERTER, object); }

  std::string Format(double grey, UINT flag, INT decimals = -1, UINT size = 256) {
    char buffer[256];
    const UINT length = converter->FormatValue(grey, 4095.0, buffer, size, flag, decimals);
    EXPECT_EQ(length, std::string(buffer).size());
    return buffer;
  }

  xelfw::InstanceRecord record;
  CXelXIObject_0* object = nullptr;
  CXelUnitConverter_0* converter = nullptr;
};

}  // namespace

TEST_F(UnitConverterTest, MapsGreyValuesIntoTheUnitAndBack) {
  EXPECT_DOUBLE_EQ(converter->GreyToUnit(0.0, 4095.0), 20.0);
  EXPECT_DOUBLE_EQ(converter->GreyToUnit(4095.0, 4095.0), 200.0);
  const auto* linear = static_cast<const xelfw::UnitConverter*>(converter);
  EXPECT_DOUBLE_EQ(linear->GreyAt(110.0, 4095.0), 2047.5);
  EXPECT_DOUBLE_EQ(linear->GreyAt(converter->GreyToUnit(1234.0, 4095.0), 4095.0), 1234.0);
  EXPECT_STREQ(converter->GetUnitText(),
               "\xB0"
               "C");
}

// The width edits: a tenth of the 20..200 range is 18 degrees wide, not the value 38 at its top.
TEST_F(UnitConverterTest, WidthsReadAndShowAsWidths) {
  EXPECT_EQ(Format(409.5, XI_FORMAT_NUMBER), "18.00");
  EXPECT_DOUBLE_EQ(converter->UnitToGrey(18.0, 4095.0) / 4095.0, 0.1);
  EXPECT_DOUBLE_EQ(converter->UnitToGrey(90.0, 4095.0), 2047.5);
}

TEST_F(UnitConverterTest, WithoutNormalizationGreyValuesShowUnchanged) {
  ASSERT_EQ(converter->SetConvParam(XI_CONV_PARAM_NORMALIZATION, 0, 0, 0, 0), XIP_OK);
  EXPECT_DOUBLE_EQ(converter->GreyToUnit(2048.0, 4095.0), 2048.0);
  EXPECT_DOUBLE_EQ(converter->UnitToGrey(17.0, 4095.0), 17.0);
}

TEST_F(UnitConverterTest, FormatsNumbersForEditsAndLabels) {
  EXPECT_EQ(Format(4095.0, XI_FORMAT_NUMBER), "180.00") << "the full width";
  EXPECT_EQ(Format(4095.0, XI_FORMAT_NUMBER_AND_UNIT),
            "200.00 \xB0"
            "C");
  EXPECT_EQ(Format(0.0, XI_FORMAT_NUMBER, 0), "0");
  EXPECT_EQ(Format(4095.0, XI_FORMAT_NUMBER_AND_UNIT, -1, 4), "200") << "cut to the buffer";
  converter->SetUnitText("");
  EXPECT_EQ(Format(0.0, XI_FORMAT_NUMBER_AND_UNIT), "20.00") << "no trailing blank without a unit";
}

TEST_F(UnitConverterTest, RefusesUnknownOrMissingParameters) {
  EXPECT_EQ(converter->SetConvParam(XI_CONV_PARAM_SCALE_OFFSET, 0, 0, 0, 0), XIP_E_BADARG);
  EXPECT_EQ(converter->SetConvParam(0x20000, 1, 0, 0, 0), XIP_E_BADARG);
  EXPECT_DOUBLE_EQ(converter->GreyToUnit(0.0, 4095.0), 20.0) << "a refused call changes nothing";
  const double flat[2] = {0.0, 5.0};
  converter->SetConvParam(XI_CONV_PARAM_SCALE_OFFSET, reinterpret_cast<UINT_PTR>(flat), 0, 0, 0);
  EXPECT_DOUBLE_EQ(converter->UnitToGrey(5.0, 4095.0), 0.0);
  EXPECT_DOUBLE_EQ(static_cast<xelfw::UnitConverter*>(converter)->GreyAt(5.0, 4095.0), 0.0);
}
