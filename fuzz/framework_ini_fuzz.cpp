// INI parser: any input either parses or raises IniError, and whatever parses writes back to text
// that parses to the same sections, keys and values.
#include <xelfw/IniStore.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  xelfw::IniStore store;
  try {
    store = xelfw::IniStore::Parse(text);
  } catch (const xelfw::IniError&) {
    return 0;
  }
  const xelfw::IniStore back = xelfw::IniStore::Parse(store.ToText());
  if (back.Sections() != store.Sections()) std::abort();
  for (const std::string& section : store.Sections()) {
    if (back.Keys(section) != store.Keys(section)) std::abort();
    for (const std::string& key : store.Keys(section)) {
      if (back.GetString(section, key) != store.GetString(section, key)) std::abort();
      // Typed reads must not trip over any stored text.
      (void)store.GetInt(section, key);
      (void)store.GetDouble(section, key);
    }
  }
  return 0;
}
