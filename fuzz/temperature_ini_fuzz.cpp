// Arbitrary INI text through the temperature object's settings import, then every text it can produce
// from what it read, into buffers of every small size.
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kTemperatureDisplay = 97;
constexpr std::size_t kGuard = 8;

void CheckBounded(CXelImgProcess_0& object, bool headLine, UINT field) {
  for (UINT size = 0; size <= 24; ++size) {
    char buffer[24 + kGuard];
    for (char& c : buffer) c = '#';
    const UINT length = headLine ? object.GetLogFieldHeadLine(buffer, size, 0, field)
                                 : object.GetLogFieldContent(buffer, size, 0, field);
    for (std::size_t i = size; i < sizeof buffer; ++i)
      if (buffer[i] != '#') std::abort();
    if (size > 0 && (length >= size || buffer[length] != '\0')) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  xelfw::IniStore store;
  try {
    store = xelfw::IniStore::Parse("[Temperature]\n" + std::string(reinterpret_cast<const char*>(data), size));
  } catch (const xelfw::IniError&) {
    return 0;
  }
  xelfw::ProcessingHost host(library, kTemperatureDisplay);
  xelfw::IniContext context(store, "Temperature");
  const UINT result = host.Object().SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL);
  if (result != XIP_OK && result != XIP_E_INCOMPLETE_IMPORT) std::abort();

  xelfw::Image source(3, 2, xelfw::PixelLayout::Grey(8, 8));
  source.SetComponent(1, 1, 0, size & 0xFF);
  host.SetSource(&source);
  if (host.Process() != XIP_OK) std::abort();
  for (UINT field = 0; field < 2; ++field) {
    CheckBounded(host.Object(), true, field);
    CheckBounded(host.Object(), false, field);
  }
  return 0;
}
