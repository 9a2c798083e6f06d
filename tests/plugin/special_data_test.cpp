#include "plugin_host.h"

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>

namespace {

using Words = std::array<UINT, 7>;

Words WordsAt(const void* record) {
  Words words;
  std::memcpy(words.data(), record, sizeof words);
  return words;
}

TEST(SpecialDataTest, DescribesAGreySourceAndItsAoi) {
  plugin_host::HostedObject host;
  xelfw::Image twelveBit{640, 480, xelfw::PixelLayout::Grey(12, 16)};
  host->SetImage(0, &twelveBit);
  void* record = host->GetSpecialData(0);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(WordsAt(record), (Words{1, 4, 16, 16, 640, 480, 16}));
  EXPECT_TRUE(host.logger.Contains("CXelPseudoColorClass::GetSpecialData:  success"));

  EXPECT_EQ(host->GetSpecialData(1), nullptr);
  EXPECT_EQ(WordsAt(record)[0], 1u);  // a wrong identifier leaves the last record alone

  const xelfw::Aoi part = xelfw::Aoi::FromSize(10, 20, 100, 50);
  host->SetAoi(0, &part);
  EXPECT_EQ(host->GetSpecialData(0), record);
  EXPECT_EQ(WordsAt(record), (Words{1, 4, 16, 16, 100, 50, 16}));
}

TEST(SpecialDataTest, RefusesSourcesItCannotServeSilentlyAndClearsTheRecord) {
  plugin_host::HostedObject host;
  xelfw::Image grey{8, 8, xelfw::PixelLayout::Grey(8, 8)};
  xelfw::Image colour{8, 8, xelfw::PixelLayout::Colour(8, 3)};
  host->SetImage(0, &grey);
  void* record = host->GetSpecialData(0);
  ASSERT_NE(record, nullptr);
  host.logger.Clear();

  host->SetImage(0, &colour);
  EXPECT_EQ(host->GetSpecialData(0), nullptr);
  EXPECT_EQ(WordsAt(record), Words{});

  const xelfw::Aoi polygon(RECT{0, 0, 4, 4}, FALSE, TRUE);
  host->SetImage(0, &grey);
  host->SetAoi(0, &polygon);
  EXPECT_EQ(host->GetSpecialData(0), nullptr);

  host->SetImage(0, nullptr);
  EXPECT_EQ(host->GetSpecialData(0), nullptr);
  EXPECT_TRUE(host.logger.Texts().empty());
}

}  // namespace
