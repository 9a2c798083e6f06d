// The pseudo-colour object driven by the host kit, with xelimg's option checks.
#include "pseudocolor.h"

#include "options.h"

#include <xelhost/arguments.h>
#include <xelhost/plugin_objects.h>
#include <xelhost/pseudo_job.h>

namespace xelpy {

unsigned ProfileCount(const xelfw::PluginLibrary& library) {
  return xelhost::PseudoColorObject(library, xelfw::HostOptions{}).ProfileCount();
}

xelfw::Image RunPseudoColor(const xelfw::PluginLibrary& library, const xelfw::Image& source,
                            const std::vector<std::string>& options,
                            const std::optional<xelfw::TemperatureCalibration>& calibration) {
  const xelhost::Arguments args = OptionArguments(options, xelhost::kPseudoOptionSpecs);
  xelhost::PseudoOptions parsed = xelhost::ParsePseudoOptions(args);
  parsed.calibration = calibration;
  xelhost::PseudoColorJob job(library, parsed);
  return std::move(job.Run(source).image);
}

}  // namespace xelpy
