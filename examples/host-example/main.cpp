// host-example IN OUT.png [PROFILE]: pseudo-colours one greyscale image (PNG, PGM or TIFF) with
// the XelPseudoColor plug-in, its bounds following the image's histogram (auto contrast).
#include <XelPseudoColor/SettingsRecord.h>
#include <xelfw/ProcessingHost.h>
#include <xelhost/image_io.h>

#include <cstdio>
#include <stdexcept>
#include <string>

static void Check(UINT result, const char* what) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed with 0x%08X", what, result);
  if (result != XIP_OK) throw std::runtime_error(text);
}

int main(int argc, char** argv) try {
  if (argc < 3 || argc > 4) throw std::invalid_argument(std::string("usage: ") + argv[0] + " IN OUT.png [PROFILE]");
  const xelfw::PluginLibrary library(XEL_PSEUDOCOLOR_PLUGIN);  // dlopen, then the five exports
  xelfw::ProcessingHost host(library, XIP_OBJTYPE_PSEUDOCOLOR_LUT);
  CXelImgProcess_0& object = host.Object();

  Check(object.SetParam(XIP_PARAM_OBJECT_INDEX, argc > 3 ? std::stoul(argv[3]) : 0, 0), "choosing the profile");
  TPseudoColorSettings settings{};
  const auto record = reinterpret_cast<UINT_PTR>(&settings);  // records travel by pointer, whole
  Check(object.GetParam(XIP_PARAM_PSEUDOCOLOR_SETTINGS, record, sizeof settings), "reading the settings");
  settings.AutoMode = kPseudoColorAutoContrast;
  Check(object.SetParam(XIP_PARAM_PSEUDOCOLOR_SETTINGS, record, sizeof settings), "writing the settings");

  xelfw::Image grey = xelhost::ReadImageFile(argv[1]);
  xelfw::Image colour(grey.Width(), grey.Height(), xelfw::PixelLayout::Colour(8, 3));
  host.SetSource(&grey);
  host.SetDestination(&colour);
  Check(object.SetImageAccess(1, 0, XI_ACCESS_WRITE), "opening the destination");
  Check(host.Process(), "processing");
  xelhost::WriteImageFile(colour, argv[2]);
  return 0;
} catch (const std::exception& error) {
  std::fprintf(stderr, "host-example: %s\n", error.what());
  return 1;
}
