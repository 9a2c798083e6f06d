// xel_codec_floor FOLDER OUT [--jobs N] [--compare]: every PNG frame of FOLDER read, decoded, given
// its 2 %/98 % window and table, encoded and written to OUT, each stage timed by the CPU time of the
// thread doing it (what other work on the machine disturbs least). Read, decode, encode and write are
// the floor of any conversion with these codecs; xelimg's CPU time a frame is compared with it.
#include "stages.h"

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace codec_floor {

namespace {

enum Stage { kRead, kDecode, kWindow, kTable, kApply, kEncode, kWrite, kLibpng, kInflate, kStages };
constexpr std::array<const char*, kStages> kStageNames = {"read the file",
                                                          "decode (host kit: libdeflate in one call)",
                                                          "histogram, 2 %/98 % window",
                                                          "build the 65,536-entry table",
                                                          "apply the table",
                                                          "encode (host kit: libdeflate level 1, Sub)",
                                                          "write the file",
                                                          "for comparison: decode by libpng + zlib",
                                                          "for comparison: inflate only (libdeflate)"};

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

using Times = std::array<double, kStages>;

class StageClock {
 public:
  explicit StageClock(Times& times) : m_Times(times), m_Last(ThreadSeconds()) {}
  void Done(Stage stage) {
    const double now = ThreadSeconds();
    m_Times[stage] += now - m_Last;
    m_Last = now;
  }

 private:
  Times& m_Times;
  double m_Last;
};

void Convert(const std::filesystem::path& in, const std::filesystem::path& out, bool compare, Times& times) {
  StageClock clock(times);
  const Bytes file = ReadFile(in);
  clock.Done(kRead);
  const xelfw::Image grey = DecodeOurs(file, in.string());
  clock.Done(kDecode);
  const Window window = AutoWindow(grey);
  clock.Done(kWindow);
  const Table table = BuildTable(window);
  clock.Done(kTable);
  const xelfw::Image rgb = ApplyTable(grey, table);
  clock.Done(kApply);
  const Bytes png = EncodeOurs(rgb);
  clock.Done(kEncode);
  WriteFile(out / in.filename(), png);
  clock.Done(kWrite);
  if (!compare) return;
  DecodeLibpng(file);
  clock.Done(kLibpng);
  InflateOnly(file);
  clock.Done(kInflate);
}

int Run(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: xel_codec_floor FOLDER OUT [--jobs N] [--compare]\n");
    return 2;
  }
  unsigned jobs = 1;
  bool compare = false;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--jobs" && i + 1 < argc) jobs = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
    if (arg == "--compare") compare = true;
  }
  // As xelimg does: freed frame buffers stay for the next frame instead of being faulted in again.
  ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 64 << 20);
  std::vector<std::filesystem::path> frames;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
    if (entry.path().extension() == ".png") frames.push_back(entry.path());
  }
  std::sort(frames.begin(), frames.end());
  const std::filesystem::path out = argv[2];
  std::filesystem::create_directories(out);

  std::vector<Times> times(jobs, Times{});
  std::atomic<std::size_t> next{0};
  const auto start = std::chrono::steady_clock::now();
  {
    std::vector<std::jthread> threads;
    for (unsigned j = 0; j < jobs; ++j) {
      threads.emplace_back([&, j] {
        for (std::size_t i = next++; i < frames.size(); i = next++) Convert(frames[i], out, compare, times[j]);
      });
    }
  }
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  Times total{};
  for (const Times& t : times) {
    for (std::size_t s = 0; s < kStages; ++s) total[s] += t[s];
  }
  const double perFrame = 1e3 / static_cast<double>(std::max<std::size_t>(frames.size(), 1));
  std::printf("| stage | CPU ms a frame |\n|---|---|\n");
  for (std::size_t s = 0; s < (compare ? kStages : kLibpng); ++s) {
    std::printf("| %s | %.2f |\n", kStageNames[s], total[s] * perFrame);
  }
  const double floor = (total[kRead] + total[kDecode] + total[kEncode] + total[kWrite]) * perFrame;
  const double all = floor + (total[kWindow] + total[kTable] + total[kApply]) * perFrame;
  std::printf("floor (read + decode + encode + write): %.2f ms a frame\n", floor);
  std::printf("with window, table and its pass: %.2f ms a frame\n", all);
  std::printf("%zu frames, %u job(s): %.2f s wall\n", frames.size(), jobs, wall);
  return 0;
}

}  // namespace

}  // namespace codec_floor

int main(int argc, char** argv) {
  try {
    return codec_floor::Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "xel_codec_floor: %s\n", error.what());
    return 1;
  }
}
