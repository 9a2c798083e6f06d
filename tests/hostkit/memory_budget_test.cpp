// The shared memory budget: leases that wait for each other, frames that draw their cost as they are
// decoded, and a pipeline whose number of jobs never changes which frames fit.
#include <xelhost/errors.h>
#include <xelhost/image_io.h>
#include <xelhost/memory_budget.h>
#include <xelhost/ordered_pipeline.h>

#include "test_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <numeric>
#include <thread>

using xelfw::Image;
using xelfw::PixelLayout;
using xelhost::FrameCharges;
using xelhost::MemoryBudget;
using xelimg_test::ScratchDir;

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

std::size_t OnlyTheFrame(const xelhost::ImageFileInfo& frame) { return frame.FrameBytes(); }

// A 1024 x 1024 8-bit grey image whose pixels all hold `value`: 1 MiB decoded, a few KiB as PNG.
Image FlatImage(BYTE value) {
  Image image(1024, 1024, PixelLayout::Grey(8, 8));
  std::fill(image.Data(), image.Data() + image.FrameBytes(), value);
  return image;
}

}  // namespace

TEST(MemoryBudget, ADrawWaitsForOtherLeasesAndFailsOnlyBeyondTheWholeLimit) {
  MemoryBudget budget(10 * kMiB);
  budget.Reserve(2 * kMiB, "kept");
  EXPECT_EQ(budget.Available(), 8 * kMiB);
  try {
    budget.Draw(9 * kMiB, "frame.png");
    FAIL() << "a draw beyond the limit less the reservations";
  } catch (const xelhost::CommandError& error) {
    EXPECT_STREQ(error.what(),
                 "frame.png needs 9 MiB, more than the 8 MiB left of 10 MiB "
                 "(--max-memory or XELIMG_MAX_MEMORY raise the limit)");
  }

  std::optional<MemoryBudget::Lease> first(budget.Draw(6 * kMiB, "first"));
  auto second = std::async(std::launch::async, [&] { return budget.Draw(6 * kMiB, "second"); });
  EXPECT_EQ(second.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout) << "drew what is held";
  first.reset();
  const MemoryBudget::Lease lease = second.get();
  EXPECT_EQ(lease.Bytes(), 6 * kMiB);
  EXPECT_EQ(budget.Available(), 2 * kMiB);
}

TEST(MemoryBudget, AHolderThatCouldNeverGetMoreFailsInsteadOfWaitingForItself) {
  MemoryBudget budget(10 * kMiB);
  const MemoryBudget::Lease held = budget.Draw(6 * kMiB, "page 0");
  EXPECT_THROW(budget.Draw(5 * kMiB, "page 1", held.Bytes()), xelhost::CommandError);
  const MemoryBudget::Lease more = budget.Draw(4 * kMiB, "page 1", held.Bytes());
  EXPECT_EQ(budget.Available(), 0u);
}

TEST(FrameCharges, FramesDecodedInsideDrawTheirCostUntilTheFrameEnds) {
  MemoryBudget budget(3 * kMiB);
  const std::vector<BYTE> png = xelhost::EncodePng(FlatImage(7));
  {
    FrameCharges charges(budget, [](const xelhost::ImageFileInfo& frame) { return 2 * frame.FrameBytes(); });
    const Image decoded = xelhost::DecodePng(png, "frame.png");
    EXPECT_EQ(decoded.Data()[12345], 7);
    EXPECT_EQ(budget.Available(), kMiB);
    // A second frame on the same thread would need what the first holds: refused, not a wait.
    EXPECT_THROW(xelhost::DecodePng(png, "frame.png"), xelhost::CommandError);
  }
  EXPECT_EQ(budget.Available(), 3 * kMiB);
  // Outside a frame nothing is drawn.
  (void)xelhost::DecodePng(png, "frame.png");
  EXPECT_EQ(budget.Available(), 3 * kMiB);

  // A frame beyond the whole limit is refused from its header, naming what it needs.
  MemoryBudget small(kMiB / 2);
  FrameCharges charges(small, OnlyTheFrame);
  try {
    (void)xelhost::DecodePng(png, "bomb.png");
    FAIL() << "decoded beyond the limit";
  } catch (const xelhost::CommandError& error) {
    EXPECT_NE(std::string(error.what())
                  .find("bomb.png: the frame with its pictures needs 1 MiB, more than the limit of 512 KiB"),
              std::string::npos)
        << error.what();
  }
}

// Each frame's sum of pixels, and the most bytes the frames in flight ever held together.
struct PipelineRun {
  std::vector<std::size_t> sums;
  std::vector<std::string> errors;
  std::size_t peak = 0;
};

PipelineRun RunPages(const std::filesystem::path& tiff, unsigned jobs, MemoryBudget& budget) {
  const std::vector<xelhost::InputFile> inputs = xelhost::ExpandInputs({tiff.string()});
  xelhost::FrameSequence sequence(
      inputs, [](const xelhost::ImageFileInfo&, const std::string&) {}, kMiB);
  std::atomic<std::size_t> peak = 0;
  struct Worker {
    MemoryBudget& budget;
    std::atomic<std::size_t>& peak;
    std::size_t operator()(xelhost::InputFrame& frame) {
      const std::size_t held = budget.Limit() - budget.Available();
      std::size_t seen = peak.load();
      while (held > seen && !peak.compare_exchange_weak(seen, held)) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      const BYTE* data = frame.image->Data();
      return std::accumulate(data, data + frame.image->FrameBytes(), std::size_t{0});
    }
  };
  PipelineRun run;
  const xelhost::PipelineBudget frameBudget{budget, OnlyTheFrame};
  xelhost::RunOrderedPipeline<std::size_t, Worker>(
      sequence, jobs,
      [&] {
        return std::make_unique<Worker>(Worker{budget, peak});
      },
      [&](xelhost::FrameOutcome<std::size_t>& outcome) {
        if (outcome.result) {
          run.sums.push_back(*outcome.result);
        } else {
          run.errors.push_back(outcome.error);
        }
      },
      &frameBudget);
  run.peak = peak.load();
  return run;
}

TEST(OrderedPipeline, JobsShareTheBudgetSoTheirNumberNeverChangesWhatIsConverted) {
  ScratchDir dir;
  xelhost::TiffFileWriter writer(dir / "pages.tif", xelhost::ImageCompression::Default, 6);
  for (BYTE page = 1; page <= 6; ++page) writer.Add(FlatImage(page));
  writer.Commit();
  std::vector<std::size_t> expected;
  for (std::size_t page = 1; page <= 6; ++page) expected.push_back(page * kMiB);

  for (const unsigned jobs : {1u, 3u, 4u, 8u}) {
    // Room for two frames at once: the other jobs wait instead of failing.
    MemoryBudget budget(2 * kMiB + kMiB / 2);
    const PipelineRun run = RunPages(dir / "pages.tif", jobs, budget);
    EXPECT_EQ(run.sums, expected) << jobs << " jobs";
    EXPECT_TRUE(run.errors.empty()) << run.errors.front();
    EXPECT_LE(run.peak, 2 * kMiB) << jobs << " jobs";
    EXPECT_EQ(budget.Available(), budget.Limit());
  }

  // A frame larger than the whole budget fails alone; the run goes on and ends.
  MemoryBudget tooSmall(kMiB / 2);
  const PipelineRun refused = RunPages(dir / "pages.tif", 4, tooSmall);
  EXPECT_TRUE(refused.sums.empty());
  ASSERT_FALSE(refused.errors.empty());
  EXPECT_NE(refused.errors.front().find("--max-memory"), std::string::npos) << refused.errors.front();
}
