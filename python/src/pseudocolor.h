// One pseudo-colour run on a fresh object, set up as `xelimg pseudo` sets it up.
#pragma once

#include <xelfw/Image.h>
#include <xelfw/PluginLoader.h>

#include <cstdint>

namespace xelpy {

struct PseudoColorRequest {
  unsigned profile = 0;
  double lower = 0.0;
  double upper = 1.0;
  std::uint32_t autoMode = 0;  // 0, kPseudoColorAutoContrast or kPseudoColorAutoBrightness
  unsigned outputBits = 8;
  unsigned threads = 0;  // 0: one per processor
};

// Throws std::invalid_argument for values out of range, xelfw::ResultError when the object refuses.
// Needs no GIL.
xelfw::Image RunPseudoColor(const xelfw::PluginLibrary& library, const xelfw::Image& source,
                            const PseudoColorRequest& request);

// The number of colour profiles the object offers.
unsigned ProfileCount(const xelfw::PluginLibrary& library);

}  // namespace xelpy
