#include "tests/plugin/plugin_host.h"

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>

#include <array>

namespace {

using Words = std::array<UINT, 7>;

Words WordsAt(const void* record) {
  Words words;
  std::memcpy(words.data(), record, sizeof words);
  return words;
}

class SpecialDataTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(host.object, nullptr); }

  plugin_host::HostedObject host{XIP_OBJTYPE_PSEUDOCOLOR_LUT};
  xelfw::Image twelveBit{640, 480, xelfw::PixelLayout::Grey(12, 16)};
};

TEST_F(SpecialDataTest, DescribesAGreySourceAndItsAoi) {
  host->SetImage(0, &twelveBit);
  host.logger.Clear();
  void* record = host->GetSpecialData(0);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(WordsAt(record), (Words{1, 4, 16, 16, 640, 480, 16}));
  EXPECT_TRUE(host.logger.Contains("CXelPseudoColorClass::GetSpecialData:  success"));

  const xelfw::Aoi part = xelfw::Aoi::FromSize(10, 20, 100, 50);
  host->SetAoi(0, &part);
  xelfw::Image eightBit{64, 64, xelfw::PixelLayout::Grey(8, 8)};
  host->SetImage(0, &eightBit);
  ASSERT_NE(host->GetSpecialData(0), nullptr);
  EXPECT_EQ(WordsAt(record), (Words{1, 4, 16, 16, 54, 44, 8}));  // the AOI clipped to the image
}

TEST_F(SpecialDataTest, OtherIdentifiersGiveNothingAndKeepTheLastRecord) {
  host->SetImage(0, &twelveBit);
  void* record = host->GetSpecialData(0);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(host->GetSpecialData(1), nullptr);
  EXPECT_EQ(WordsAt(record)[0], 1u);
}

TEST_F(SpecialDataTest, RefusesSourcesItCannotServeSilentlyAndClearsTheRecord) {
  host->SetImage(0, &twelveBit);
  void* record = host->GetSpecialData(0);
  ASSERT_NE(record, nullptr);

  xelfw::Image colour{8, 8, xelfw::PixelLayout::Colour(8, 3)};
  host->SetImage(0, &colour);
  host.logger.Clear();
  EXPECT_EQ(host->GetSpecialData(0), nullptr);
  EXPECT_EQ(WordsAt(record), Words{});
  EXPECT_TRUE(host.logger.Texts().empty());

  host->SetImage(0, &twelveBit);
  const xelfw::Aoi polygon(RECT{0, 0, 10, 10}, FALSE, TRUE);
  host->SetAoi(0, &polygon);
  EXPECT_EQ(host->GetSpecialData(0), nullptr);

  host->SetAoi(0, nullptr);
  host->SetImage(0, nullptr);
  EXPECT_EQ(host->GetSpecialData(0), nullptr);
  EXPECT_TRUE(host.logger.Texts().empty());
}

}  // namespace
