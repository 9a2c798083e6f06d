// Arbitrary INI text through the pseudo-colour object's settings import. Whatever it read must export
// and import again into an identical record, and a frame processed with it must not fail on the
// settings alone.
#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT kPseudoColor = 96;
constexpr UINT kParamSettings = 12;
constexpr char kSection[] = "PseudoColor";

using Record = std::array<BYTE, 128>;

Record SettingsOf(CXelImgProcess_0& object) {
  Record record{};
  if (object.GetParam(kParamSettings, reinterpret_cast<UINT_PTR>(record.data()), record.size()) != XIP_OK) std::abort();
  return record;
}

// Byte for byte, since NaN bounds compare unequal to themselves, except for what carries nothing:
// the two alignment gaps and the unit text's bytes after its end.
bool SameSettings(const Record& a, const Record& b) {
  constexpr std::size_t kUnitDesc = 96;
  return std::memcmp(a.data(), b.data(), 60) == 0 && std::memcmp(a.data() + 64, b.data() + 64, 12) == 0 &&
         std::memcmp(a.data() + 80, b.data() + 80, kUnitDesc - 80) == 0 &&
         std::strncmp(reinterpret_cast<const char*>(a.data() + kUnitDesc),
                      reinterpret_cast<const char*>(b.data() + kUnitDesc), a.size() - kUnitDesc) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  xelfw::IniStore store;
  try {
    store = xelfw::IniStore::Parse("[PseudoColor]\n" + std::string(reinterpret_cast<const char*>(data), size));
  } catch (const xelfw::IniError&) {
    return 0;
  }
  xelfw::ProcessingHost first(library, kPseudoColor);
  xelfw::IniContext context(store, kSection);
  const UINT result = first.Object().SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL);
  if (result != XIP_OK && result != XIP_E_INCOMPLETE_IMPORT) std::abort();

  xelfw::IniStore exported;
  xelfw::IniContext exportContext(exported, kSection);
  if (first.Object().GetParam(XIP_PARAM_INI, exportContext.Handle(), XIP_INI_MODE_ALL) != XIP_OK) std::abort();
  xelfw::ProcessingHost second(library, kPseudoColor);
  if (second.Object().SetParam(XIP_PARAM_INI, exportContext.Handle(), XIP_INI_MODE_ALL) != XIP_OK) std::abort();
  if (!SameSettings(SettingsOf(first.Object()), SettingsOf(second.Object()))) std::abort();

  xelfw::Image source(5, 3, xelfw::PixelLayout::Grey(10, 16));
  xelfw::Image destination(5, 3, xelfw::PixelLayout::Colour(8, 3));
  source.SetComponent(2, 1, 0, static_cast<UINT>(size) & 0x3FF);
  first.SetSource(&source);
  first.SetDestination(&destination);
  if (first.Process() != XIP_OK) std::abort();
  return 0;
}
