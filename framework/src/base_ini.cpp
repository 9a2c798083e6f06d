// ImportIniData / ExportIniData: typed values against the section an INI context names. A value of
// several elements is one key, its elements separated by commas.
#include "base_state.h"

#include <xelfw/IniStore.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> SplitElements(std::string_view text) {
  std::vector<std::string_view> elements;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    elements.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return elements;
    start = comma + 1;
  }
}

// 32-bit integers are read as signed or unsigned, whichever the text is; the bits are the same.
std::optional<std::uint32_t> ParseInt32(std::string_view text) {
  const std::optional<long long> value = xelfw::ParseIniInt(text);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
      *value > static_cast<long long>(std::numeric_limits<std::uint32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(*value);
}

bool ReadNumbers(std::string_view text, void* target, UINT count, TINI_DATA_TYPE type) {
  const std::vector<std::string_view> elements = SplitElements(text);
  if (elements.size() != count) return false;
  if (type == INI_DATA_INT32) {
    std::vector<std::uint32_t> values;
    for (std::string_view element : elements) {
      const std::optional<std::uint32_t> value = ParseInt32(element);
      if (!value) return false;
      values.push_back(*value);
    }
    std::memcpy(target, values.data(), values.size() * sizeof(std::uint32_t));
  } else {
    std::vector<double> values;
    for (std::string_view element : elements) {
      const std::optional<double> value = xelfw::ParseIniDouble(element);
      if (!value) return false;
      values.push_back(*value);
    }
    std::memcpy(target, values.data(), values.size() * sizeof(double));
  }
  return true;
}

void StoreDefault(void* target, const void* def, UINT count, TINI_DATA_TYPE type) {
  if (def == nullptr) return;
  if (type == INI_DATA_STRING) {
    const std::string_view text(static_cast<const char*>(def));
    const std::size_t length = std::min<std::size_t>(text.size(), count - 1);
    std::memmove(target, text.data(), length);
    static_cast<char*>(target)[length] = '\0';
    return;
  }
  const std::size_t element = type == INI_DATA_INT32 ? sizeof(std::uint32_t) : sizeof(double);
  std::memmove(target, def, count * element);
}

std::string FormatNumbers(const void* source, UINT count, TINI_DATA_TYPE type) {
  std::string text;
  for (UINT i = 0; i < count; ++i) {
    if (i > 0) text += ',';
    if (type == INI_DATA_INT32) {
      std::int32_t value;
      std::memcpy(&value, static_cast<const BYTE*>(source) + i * sizeof value, sizeof value);
      text += std::to_string(value);
    } else {
      double value;
      std::memcpy(&value, static_cast<const BYTE*>(source) + i * sizeof value, sizeof value);
      text += xelfw::FormatIniDouble(value);
    }
  }
  return text;
}

bool KnownType(TINI_DATA_TYPE type) {
  return type == INI_DATA_STRING || type == INI_DATA_INT32 || type == INI_DATA_DOUBLE;
}

}  // namespace

BOOL CXelImgProcess::ImportIniData(UINT_PTR context, const char* key, void* target, const void* def, UINT count,
                                   TINI_DATA_TYPE type) {
  if (target == nullptr || count == 0 || !KnownType(type)) return FALSE;
  const xelfw::IniContext* ini = xelfw::IniContext::FromHandle(context);
  const std::optional<std::string> text =
      ini != nullptr && key != nullptr ? ini->Store().GetString(ini->Section(), key) : std::nullopt;
  if (text) {
    if (type == INI_DATA_STRING) {
      const std::size_t length = std::min<std::size_t>(text->size(), count - 1);
      std::memcpy(target, text->data(), length);
      static_cast<char*>(target)[length] = '\0';
      return TRUE;
    }
    if (ReadNumbers(*text, target, count, type)) return TRUE;
  }
  StoreDefault(target, def, count, type);
  return FALSE;
}

void CXelImgProcess::ExportIniData(UINT_PTR context, const char* key, const void* source, UINT count,
                                   TINI_DATA_TYPE type) {
  xelfw::IniContext* ini = xelfw::IniContext::FromHandle(context);
  if (ini == nullptr || key == nullptr || source == nullptr || !KnownType(type)) return;
  if (type == INI_DATA_STRING) {
    // An INI line cannot hold a line break, and the store's refusal must not escape into the object
    // that called: the text is kept up to the break, which is also all a profile file reads back.
    const std::string_view text(static_cast<const char*>(source));
    ini->Store().SetString(ini->Section(), key, text.substr(0, text.find_first_of("\r\n")));
  } else if (count > 0) {
    ini->Store().SetString(ini->Section(), key, FormatNumbers(source, count, type));
  }
}
