// Runs a fuzz target without libFuzzer, for ordinary builds and CTest: every file of the seed
// directories given on the command line, then a fixed number of deterministic mutations of them.
// A finding shows up as a crash or a sanitizer report, exactly as under libFuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<Bytes> ReadSeeds(int argc, char** argv) {
  std::vector<Bytes> seeds;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path dir(argv[i]);
    if (!std::filesystem::is_directory(dir)) continue;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());  // the same order on every machine keeps runs reproducible
    for (const auto& file : files) {
      std::ifstream in(file, std::ios::binary);
      seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  if (seeds.empty()) seeds.emplace_back();
  return seeds;
}

// The mutations libFuzzer starts with: flip, overwrite, insert, erase and splice bytes.
Bytes Mutate(const Bytes& seed, const Bytes& other, std::mt19937& rng) {
  Bytes data = seed;
  const int steps = 1 + static_cast<int>(rng() % 8);
  for (int s = 0; s < steps; ++s) {
    const std::size_t at = data.empty() ? 0 : rng() % data.size();
    switch (rng() % 5) {
      case 0:
        if (!data.empty()) data[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        break;
      case 1:
        if (!data.empty()) data[at] = static_cast<std::uint8_t>(rng());
        break;
      case 2:
        data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(rng()));
        break;
      case 3:
        if (!data.empty()) data.erase(data.begin() + static_cast<std::ptrdiff_t>(at));
        break;
      default:
        if (!other.empty()) {
          const std::size_t from = rng() % other.size();
          const std::size_t count = std::min<std::size_t>(1 + rng() % 16, other.size() - from);
          data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), other.begin() + static_cast<std::ptrdiff_t>(from),
                      other.begin() + static_cast<std::ptrdiff_t>(from + count));
        }
    }
  }
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  const char* runsText = std::getenv("XEL_FUZZ_RUNS");
  const long runs = runsText ? std::strtol(runsText, nullptr, 10) : 2000;
  const std::vector<Bytes> seeds = ReadSeeds(argc, argv);
  for (const Bytes& seed : seeds) LLVMFuzzerTestOneInput(seed.data(), seed.size());
  std::mt19937 rng(20261206);
  for (long run = 0; run < runs; ++run) {
    const Bytes input = Mutate(seeds[run % seeds.size()], seeds[rng() % seeds.size()], rng);
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("%zu seeds and %ld mutations ran clean\n", seeds.size(), runs);
  return 0;
}
