// The float TIFF writer's refusals: a page that does not match its size, and a file of no page,
// leave nothing behind. Pages read back in the Python suite (Pillow), as users read them.
#include <xelhost/FloatTiffWriter.h>
#include <xelhost/image_io.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

TEST(FloatTiffWriterTest, RefusedPagesAndEmptyFilesLeaveNothing) {
  const auto dir = std::filesystem::path(testing::TempDir()) / "float_tiff_writer_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto file = dir / "map.tif";
  {
    xelhost::FloatTiffWriter writer(file);
    const std::vector<float> values(6, 1.5f);
    EXPECT_THROW(writer.Add(4, 2, values), xelhost::ImageIoError);
    EXPECT_THROW(writer.Add(0, 0, {}), xelhost::ImageIoError);
    EXPECT_THROW(writer.Commit(), xelhost::ImageIoError);
    writer.Add(3, 2, values);
    EXPECT_EQ(writer.Pages(), 1u);
  }  // not committed
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  EXPECT_THROW(xelhost::FloatTiffWriter(dir / "missing" / "map.tif"), std::exception);

  xelhost::FloatTiffWriter writer(file);
  writer.Add(1, 1, std::vector<float>{2.0f});
  writer.Commit();
  EXPECT_GT(std::filesystem::file_size(file), 8u);
  std::filesystem::remove_all(dir);
}

}  // namespace
