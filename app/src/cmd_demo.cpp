// xelimg demo: the demo scene and its pseudo-colour pictures in every profile.
#include <xelhost/demo_scene.h>
#include <xelhost/errors.h>
#include <xelhost/plugin_objects.h>
#include <xelhost/profile_names.h>
#include <xelhost/pseudo_job.h>
#include "command_table.h"
#include "exit_status.h"
#include "host_kit.h"
#include "plugin_location.h"

#include <xelhost/image_io.h>

#include <array>
#include <cstdio>
#include <system_error>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 1> kOptions = {kPluginOption};

UINT CountProfiles(const xelfw::PluginLibrary& library) {
  const PseudoColorObject probe(library, xelfw::HostOptions{1, nullptr});
  return probe.ProfileCount();
}

int RunDemo(const Arguments& args) {
  if (args.Operands().size() != 1) throw UsageError("usage: xelimg demo OUTDIR");
  const std::filesystem::path dir = args.Operands()[0];
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error || !std::filesystem::is_directory(dir)) {
    throw CommandError(dir.string() + ": cannot create the directory" + (error ? ": " + error.message() : ""));
  }

  const xelfw::PluginLibrary library(PluginPath(args));
  const xelfw::Image scene = MakeDemoScene();
  const std::filesystem::path scenePath = dir / "demo-scene.png";
  xelhost::WriteImageFile(scene, scenePath);
  std::printf("%s  (16-bit greyscale input, %u x %u)\n", scenePath.c_str(), scene.Width(), scene.Height());

  // The histogram window shows each profile over the scene's real range rather than the whole
  // 16-bit span, which the scene only partly fills.
  PseudoOptions options;
  options.autoMode = kPseudoColorAutoContrast;
  const UINT profiles = CountProfiles(library);
  for (UINT profile = 0; profile < profiles; ++profile) {
    options.profile = std::to_string(profile);
    const xelfw::Image picture = PseudoColorJob(library, options).Run(scene).image;
    const std::filesystem::path path = dir / ("demo-" + std::to_string(profile) + "-" + ProfileSlug(profile) + ".png");
    xelhost::WriteImageFile(picture, path);
    std::printf("%s  (%s)\n", path.c_str(), ProfileName(profile).c_str());
  }
  return kExitOk;
}

}  // namespace

const Command kDemoCommand{
    "demo",
    "demo OUTDIR                                demo scene and its pictures in every profile",
    "usage: xelimg demo OUTDIR [--plugin PATH]\n"
    "\n"
    "Writes the built-in 16-bit demo scene (demo-scene.png) and one pseudo-colour picture per colour\n"
    "profile (demo-N-NAME.png, window from auto contrast) into OUTDIR, which is created if needed.\n",
    kOptions,
    1,
    RunDemo};

}  // namespace xelimg
