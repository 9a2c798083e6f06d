// The statistics object (type 67) as objects drive it: histogram and mean of hand-made images.
#include <XelImgProcess/XelStatistics.h>
#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/InstanceRecord.h>
#include <xelfw/Logger.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

class StatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    object = record.CreateInstance(XIP_OBJTYPE_STATISTICS);
    ASSERT_NE(object, nullptr);
  }
  void TearDown() override { record.DeleteInstance(object); }

  void Use(xelfw::Image& image, const CXelAoi_0* aoi = nullptr) {
    CXelImage_0* images[1] = {&image};
    ASSERT_EQ(object->SetImages(1, images), XIP_OK);
    ASSERT_EQ(object->SetParam(XIP_STAT_PARAM_AOI, 0, reinterpret_cast<UINT_PTR>(aoi)), XIP_OK);
  }
  UINT Word(const void* bytes, std::size_t offset) {
    UINT value;
    std::memcpy(&value, static_cast<const BYTE*>(bytes) + offset, sizeof value);
    return value;
  }
  UINT Bin(const void* bytes, UINT channel, UINT bin) {
    return Word(bytes, Word(bytes, 28) + (std::size_t{channel} * Word(bytes, 12) + bin) * 4);
  }

  xelfw::InstanceRecord record;
  CXelImgProcess_0* object = nullptr;
};

}  // namespace

TEST_F(StatisticsTest, HistogramCountsTheAoiOfAGreyImage) {
  // 4 x 3 image of 10-bit values in 16-bit units at bit 2; the AOI is the right 2 x 2 block.
  xelfw::Image image(4, 3, xelfw::PixelLayout::Grey(10, 16, 2));
  const UINT values[3][4] = {{0, 1, 1023, 5}, {7, 7, 5, 5}, {9, 9, 9, 0}};
  for (UINT y = 0; y < 3; ++y)
    for (UINT x = 0; x < 4; ++x) image.SetComponent(x, y, 0, values[y][x]);
  const xelfw::Aoi aoi = xelfw::Aoi::FromSize(2, 0, 2, 2);
  Use(image, &aoi);
  ASSERT_EQ(object->Process(XIP_STAT_MODE_HISTOGRAM), XIP_OK);
  const void* histogram = object->GetSpecialData(XIP_STAT_DATA_HISTOGRAM);
  ASSERT_NE(histogram, nullptr);
  EXPECT_EQ(Word(histogram, 4), 1u);      // channels
  EXPECT_EQ(Word(histogram, 12), 1024u);  // bins
  EXPECT_EQ(Word(histogram, 24), 4u);     // values in the channel
  EXPECT_EQ(Word(histogram, 36), 4u);     // all values
  EXPECT_EQ(Bin(histogram, 0, 5), 3u);
  EXPECT_EQ(Bin(histogram, 0, 1023), 1u);
  EXPECT_EQ(Bin(histogram, 0, 7), 0u) << "outside the AOI";
  EXPECT_EQ(object->GetSpecialData(XIP_STAT_DATA_STATISTICS), nullptr) << "only what the last run made";

  // Without a new AOI call the next run keeps the AOI; a null AOI selects the whole image.
  ASSERT_EQ(object->Process(XIP_STAT_MODE_HISTOGRAM), XIP_OK);
  EXPECT_EQ(Word(object->GetSpecialData(XIP_STAT_DATA_HISTOGRAM), 36), 4u);
  Use(image);
  ASSERT_EQ(object->Process(XIP_STAT_MODE_HISTOGRAM), XIP_OK);
  EXPECT_EQ(Bin(object->GetSpecialData(XIP_STAT_DATA_HISTOGRAM), 0, 9), 3u);
}

TEST_F(StatisticsTest, ColourImagesGiveOneChannelPerComponent) {
  xelfw::Image image(2, 1, xelfw::PixelLayout::Colour(8, 4, XI_ORDER_BGR));
  image.SetComponent(0, 0, 0, 200);  // red
  image.SetComponent(0, 0, 2, 3);    // blue
  image.SetComponent(1, 0, 0, 200);
  Use(image);
  ASSERT_EQ(object->Process(XIP_STAT_MODE_HISTOGRAM), XIP_OK);
  const void* histogram = object->GetSpecialData(XIP_STAT_DATA_HISTOGRAM);
  EXPECT_EQ(Word(histogram, 4), 3u);
  EXPECT_EQ(Word(histogram, 36), 6u);
  EXPECT_EQ(Bin(histogram, 0, 200), 2u);
  EXPECT_EQ(Bin(histogram, 2, 3), 1u);
  EXPECT_EQ(Bin(histogram, 2, 0), 1u);
}

TEST_F(StatisticsTest, MeasuresTheMeanGreyValueInsideTheAoi) {
  xelfw::Image image(3, 2, xelfw::PixelLayout::Grey(12, 16));
  const UINT values[2][3] = {{100, 2048, 4095}, {0, 1024, 3000}};
  for (UINT y = 0; y < 2; ++y)
    for (UINT x = 0; x < 3; ++x) image.SetComponent(x, y, 0, values[y][x]);
  const xelfw::Aoi aoi = xelfw::Aoi::FromSize(1, 0, 2, 2);
  Use(image, &aoi);
  ASSERT_EQ(object->Process(XIP_STAT_MODE_STATISTICS), XIP_OK);
  const void* statistics = object->GetSpecialData(XIP_STAT_DATA_STATISTICS);
  ASSERT_NE(statistics, nullptr);
  double mean;
  std::memcpy(&mean, static_cast<const BYTE*>(statistics) + 32, sizeof mean);
  EXPECT_DOUBLE_EQ(mean, (2048.0 + 4095.0 + 1024.0 + 3000.0) / 4.0);
  const auto* result = static_cast<const TStatisticsResult*>(statistics);
  EXPECT_EQ(result->MinValue, 1024.0);
  EXPECT_EQ(result->MaxValue, 4095.0);
  EXPECT_EQ(result->NumPixels, 4u);
}

TEST_F(StatisticsTest, FailedRunsLeaveNoRecordAndSayWhy) {
  xelfw::RecordingLogger logger;
  ASSERT_EQ(object->SetParam(XIP_STAT_PARAM_LOGGER, reinterpret_cast<UINT_PTR>(&logger), 0), XIP_OK);
  EXPECT_EQ(object->Process(XIP_STAT_MODE_STATISTICS), XIP_E_NOIMAGE);
  EXPECT_TRUE(logger.Contains("StatisticsObject::Process: no source image"));

  xelfw::Image image(4, 4, xelfw::PixelLayout::Grey(8, 8));
  Use(image);
  ASSERT_EQ(object->Process(XIP_STAT_MODE_STATISTICS), XIP_OK);
  const xelfw::Aoi outside = xelfw::Aoi::FromSize(8, 8, 2, 2);
  Use(image, &outside);
  EXPECT_EQ(object->Process(XIP_STAT_MODE_STATISTICS), XIP_E_AOI);
  EXPECT_EQ(object->GetSpecialData(XIP_STAT_DATA_STATISTICS), nullptr);
  const xelfw::Aoi ring(RECT{0, 0, 4, 4}, FALSE, TRUE);
  Use(image, &ring);
  EXPECT_EQ(object->Process(XIP_STAT_MODE_HISTOGRAM), XIP_E_AOI);
  EXPECT_EQ(object->Process(3), XIP_E_BADARG);
  EXPECT_EQ(object->SetParam(XIP_STAT_PARAM_AOI, 1, 0), XIP_E_BADARG) << "only image 0 is measured";
}
