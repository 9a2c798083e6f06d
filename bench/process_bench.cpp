// Process of the pseudo-colour object, loaded like a host loads it, on every packing of interest.
#include "catalogue.h"
#include "scene.h"

#include <xelfw/PluginLoader.h>
#include <xelfw/ProcessingHost.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace bench {
namespace {

const xelfw::PluginLibrary& Library() {
  static const xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  return library;
}

struct Packing {
  const char* name;
  UINT memBPC;
  UINT unitsPerPixel;
};
constexpr Packing kPackings[] = {{"RGB8", 8, 3}, {"RGBX8", 8, 4}, {"RGB16", 16, 3}};

// One object with its frames, ready to run; the LUT is built by the first run.
struct Setup {
  xelfw::Image source;
  xelfw::Image destination;
  std::unique_ptr<xelfw::ProcessingHost> host;

  Setup(FrameSize size, const Packing& packing, UINT processors)
      : source(MakeThermalScene(size.width, size.height)),
        destination(size.width, size.height, xelfw::PixelLayout::Colour(packing.memBPC, packing.unitsPerPixel)),
        host(std::make_unique<xelfw::ProcessingHost>(Library(), XIP_OBJTYPE_PSEUDOCOLOR_LUT,
                                                     xelfw::HostOptions{processors, nullptr})) {
    host->SetSource(&source);
    host->SetDestination(&destination);
    if (host->Process() != XIP_OK) throw std::runtime_error("Process refused the benchmark frames");
  }
};

void ProcessFrame(benchmark::State& state, FrameSize size, Packing packing, UINT threads) {
  Setup setup(size, packing, threads);
  for (auto _ : state) benchmark::DoNotOptimize(setup.host->Process());
  state.SetBytesProcessed(
      static_cast<int64_t>(state.iterations()) *
      static_cast<int64_t>(BytesMoved(size.width, size.height, packing.unitsPerPixel * packing.memBPC / 8)));
}

// Every run rebuilds the tables for a 16-bit source: switching the profile invalidates them. The
// frame is a single pixel, so the row loop costs nothing next to the rebuild.
void RebuildLut(benchmark::State& state) {
  Setup setup({1, 1}, kPackings[0], 1);
  UINT profile = 0;
  for (auto _ : state) {
    profile ^= 1;
    setup.host->Object().SetParam(XIP_PARAM_OBJECT_INDEX, profile, 0);
    benchmark::DoNotOptimize(setup.host->Process());
  }
}

}  // namespace

void RegisterProcessBenchmarks() {
  for (const FrameSize size : kFrameSizes) {
    const std::string frame = std::to_string(size.width) + "x" + std::to_string(size.height);
    for (const Packing& packing : kPackings) {
      for (const UINT threads : {1u, 2u}) {
        const std::string name =
            "process/" + std::string(packing.name) + "/" + frame + "/threads:" + std::to_string(threads);
        benchmark::RegisterBenchmark(name.c_str(), ProcessFrame, size, packing, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        Record({name, Kind::Process, frame, packing.unitsPerPixel * packing.memBPC / 8});
      }
    }
  }
  benchmark::RegisterBenchmark("lut_rebuild/16bit_source", RebuildLut)->Unit(benchmark::kMillisecond)->UseRealTime();
  Record({"lut_rebuild/16bit_source", Kind::Other, "", 0});
}

}  // namespace bench
