// Runs every benchmark once, then prints each conversion against the copy floor and the best
// alternative of the same frame size.
#include "catalogue.h"

#include <benchmark/benchmark.h>

#ifdef XEL_BENCH_WITH_VIPS
#include <vips/vips.h>
#endif

#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace bench {

std::vector<Entry>& Catalogue() {
  static std::vector<Entry> entries;
  return entries;
}

void Record(Entry entry) { Catalogue().push_back(std::move(entry)); }

namespace {

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      std::string name = run.benchmark_name();
      if (const auto slash = name.rfind("/real_time"); slash != std::string::npos) name.erase(slash);
      m_Milliseconds[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-36s %10s %12s %14s %12s\n", "conversion", "ms", "x memcpy", "x best alt.", "1->2 threads");
    for (const Entry& e : Catalogue()) {
      if (e.kind != Kind::Process) continue;
      const auto ms = Time(e.name);
      if (!ms) continue;
      std::printf("%-36s %10.3f %12s %14s %12s\n", e.name.c_str(), *ms, Ratio(*ms, Copy(e)).c_str(),
                  Ratio(*ms, BestAlternative(e.frame)).c_str(), Ratio(Time(OneThread(e.name)), *ms).c_str());
    }
    for (const Entry& e : Catalogue())
      if (e.kind == Kind::Other)
        if (const auto ms = Time(e.name)) std::printf("%-36s %10.3f\n", e.name.c_str(), *ms);
  }

 private:
  std::optional<double> Time(const std::string& name) const {
    const auto it = m_Milliseconds.find(name);
    if (it == m_Milliseconds.end()) return std::nullopt;
    return it->second;
  }
  std::optional<double> Copy(const Entry& process) const {
    for (const Entry& e : Catalogue())
      if (e.kind == Kind::Memcpy && e.frame == process.frame && e.dstBytes == process.dstBytes) return Time(e.name);
    return std::nullopt;
  }
  std::optional<double> BestAlternative(const std::string& frame) const {
    std::optional<double> best;
    for (const Entry& e : Catalogue())
      if (e.kind == Kind::Alternative && e.frame == frame)
        if (const auto ms = Time(e.name); ms && (!best || *ms < *best)) best = ms;
    return best;
  }
  // The one-thread run of a two-thread conversion; none for the one-thread runs themselves.
  static std::string OneThread(const std::string& name) {
    const std::string two = "threads:2";
    if (name.size() < two.size() || name.compare(name.size() - two.size(), two.size(), two) != 0) return {};
    return name.substr(0, name.size() - 1) + "1";
  }
  // How many times slower `ms` is than `reference` (above 1: slower).
  static std::string Ratio(std::optional<double> ms, std::optional<double> reference) {
    if (!ms || !reference || *reference <= 0.0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", *ms / *reference);
    return text;
  }

  std::map<std::string, double> m_Milliseconds;
};

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
#ifdef XEL_BENCH_WITH_VIPS
  if (VIPS_INIT(argv[0]) != 0) {
    std::fprintf(stderr, "xel_bench: libvips failed to start\n");
    return 2;
  }
#endif
  bench::RegisterProcessBenchmarks();
  bench::RegisterBaselineBenchmarks();
  bench::RegisterEncodeBenchmarks();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
