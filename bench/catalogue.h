// What each registered benchmark measures, so that the summary can put the figures side by side.
#pragma once

#include <string>
#include <vector>

namespace bench {

enum class Kind { Process, Memcpy, Alternative, Other };

struct Entry {
  std::string name;  // benchmark name as registered
  Kind kind;
  std::string frame;      // "WxH"; empty when the figure has no frame size
  unsigned dstBytes = 0;  // bytes per destination pixel, for matching the memcpy of the same traffic
};

std::vector<Entry>& Catalogue();
void Record(Entry entry);

// Registration functions of the benchmark files, called from main in this order.
void RegisterProcessBenchmarks();
void RegisterBaselineBenchmarks();
void RegisterEncodeBenchmarks();

}  // namespace bench
