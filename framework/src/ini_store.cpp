// Parsing, lookup and atomic saving of INI text.
#include <xelfw/IniStore.h>

#include <xelfw/RegularFile.h>

#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace xelfw {

namespace {

// Keys and section names compare without regard to case: the maps hold them folded.
std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

// Values keep their text; line breaks would end the value on reading, so they cannot be stored.
void CheckStorable(std::string_view what, std::string_view text) {
  if (text.find_first_of("\r\n") != std::string_view::npos) {
    throw IniError("INI " + std::string(what) + " contains a line break: '" + std::string(text) + "'");
  }
}

}  // namespace

std::optional<long long> ParseIniInt(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  unsigned long long magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (magnitude > static_cast<unsigned long long>(std::numeric_limits<long long>::max()) + (negative ? 1 : 0)) {
    return std::nullopt;
  }
  return negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
}

std::optional<double> ParseIniDouble(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FormatIniDouble(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

IniStore IniStore::Parse(std::string_view text, const std::string& sourceName, IniSyntax syntax) {
  IniStore store;
  // Editors that save UTF-8 may start the file with a byte-order mark.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const bool strict = syntax == IniSyntax::Strict;
  std::size_t current = SIZE_MAX;
  std::size_t lineNumber = 0;
  while (!text.empty() || lineNumber == 0) {
    ++lineNumber;
    // A lone carriage return ends a line too (old Mac files), so no value read holds a line break
    // that the store would refuse to write back.
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, end));
    const std::size_t next = end != std::string_view::npos && text.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
    text = end == std::string_view::npos ? std::string_view{} : text.substr(next);
    const auto fail = [&](const std::string& what) {
      throw IniError(sourceName + ":" + std::to_string(lineNumber) + ": " + what);
    };
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') fail("section header without ']'");
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      if (name.empty()) fail("empty section name");
      if (const Section* seen = store.FindSection(name)) {
        if (strict)
          fail("section [" + std::string(name) + "] given twice (first on line " + std::to_string(seen->line) + ")");
      } else {
        store.GetOrAddSection(name).line = lineNumber;
      }
      current = store.m_SectionIndex.at(Fold(name));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) fail("expected 'key=value', '[section]' or a comment");
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) fail("empty key");
    if (current == SIZE_MAX) fail("key '" + std::string(key) + "' before the first section");
    Section& section = store.m_Sections[current];
    if (const Entry* seen = FindEntry(section, key); seen != nullptr) {
      if (strict) fail(std::string(key) + " given twice (first on line " + std::to_string(seen->line) + ")");
      continue;
    }
    AddEntry(section, key, Unquote(Trim(line.substr(equals + 1))), lineNumber);
  }
  return store;
}

std::string IniStore::ReadFile(const std::filesystem::path& file) {
  std::uint64_t size = 0;
  std::string why;
  const int fd = OpenRegularFile(file, size, why);
  if (fd < 0) throw IniError("cannot open INI file '" + file.string() + "': " + why);
  if (size > kMaxFileBytes) {
    ::close(fd);
    throw IniError("INI file '" + file.string() + "' is larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB");
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : 0;
      ::close(fd);
      throw IniError("cannot read INI file '" + file.string() +
                     "': " + (error != 0 ? std::strerror(error) : "it shrank"));
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return text;
}

IniStore IniStore::Load(const std::filesystem::path& file, IniSyntax syntax) {
  return Parse(ReadFile(file), file.string(), syntax);
}

std::string IniStore::ToText() const {
  std::string text;
  for (const Section& section : m_Sections) {
    if (!text.empty()) text += '\n';
    text += '[' + section.name + "]\n";
    for (const Entry& entry : section.entries) {
      // Quotes keep blanks at either end, which reading would otherwise drop.
      const bool quote =
          !entry.value.empty() && (entry.value != Trim(entry.value) || Unquote(entry.value) != entry.value);
      text += entry.key + '=' + (quote ? '"' + entry.value + '"' : entry.value) + '\n';
    }
  }
  return text;
}

const IniStore::Section* IniStore::FindSection(std::string_view name) const {
  const auto found = m_SectionIndex.find(Fold(name));
  return found == m_SectionIndex.end() ? nullptr : &m_Sections[found->second];
}

IniStore::Section& IniStore::GetOrAddSection(std::string_view name) {
  if (const Section* found = FindSection(name)) return const_cast<Section&>(*found);
  CheckStorable("section name", name);
  if (name.find(']') != std::string_view::npos || Trim(name) != name || name.empty()) {
    throw IniError("INI section name cannot be stored: '" + std::string(name) + "'");
  }
  m_Sections.push_back({std::string(name), 0, {}, {}});
  // The index names only what exists, even when adding to it runs out of memory.
  try {
    m_SectionIndex.emplace(Fold(name), m_Sections.size() - 1);
  } catch (...) {
    m_Sections.pop_back();
    throw;
  }
  return m_Sections.back();
}

void IniStore::AddEntry(Section& section, std::string_view key, std::string_view value, std::size_t line) {
  section.entries.push_back({std::string(key), std::string(value), line});
  try {
    section.index.emplace(Fold(key), section.entries.size() - 1);
  } catch (...) {
    section.entries.pop_back();
    throw;
  }
}

const IniStore::Entry* IniStore::FindEntry(const Section& section, std::string_view key) {
  const auto found = section.index.find(Fold(key));
  return found == section.index.end() ? nullptr : &section.entries[found->second];
}

const IniStore::Entry* IniStore::FindEntry(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  return found == nullptr ? nullptr : FindEntry(*found, key);
}

bool IniStore::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }
bool IniStore::HasKey(std::string_view section, std::string_view key) const {
  return FindEntry(section, key) != nullptr;
}

std::vector<std::string> IniStore::Sections() const {
  std::vector<std::string> names;
  for (const Section& section : m_Sections) names.push_back(section.name);
  return names;
}

std::vector<std::string> IniStore::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* found = FindSection(section)) {
    for (const Entry& entry : found->entries) keys.push_back(entry.key);
  }
  return keys;
}

std::optional<std::size_t> IniStore::LineOf(std::string_view section, std::string_view key) const {
  const Entry* entry = FindEntry(section, key);
  if (entry == nullptr) return std::nullopt;
  return entry->line;
}

bool IniStore::RemoveKey(std::string_view section, std::string_view key) {
  const Section* found = FindSection(section);
  if (found == nullptr) return false;
  Section& target = const_cast<Section&>(*found);
  const auto it = target.index.find(Fold(key));
  if (it == target.index.end()) return false;
  const std::size_t removed = it->second;
  target.index.erase(it);
  target.entries.erase(target.entries.begin() + static_cast<std::ptrdiff_t>(removed));
  for (auto& [name, position] : target.index) {
    if (position > removed) --position;
  }
  return true;
}

std::optional<std::string> IniStore::GetString(std::string_view section, std::string_view key) const {
  const Entry* entry = FindEntry(section, key);
  if (entry == nullptr) return std::nullopt;
  return entry->value;
}

std::optional<long long> IniStore::GetInt(std::string_view section, std::string_view key) const {
  const Entry* entry = FindEntry(section, key);
  return entry != nullptr ? ParseIniInt(entry->value) : std::nullopt;
}

std::optional<double> IniStore::GetDouble(std::string_view section, std::string_view key) const {
  const Entry* entry = FindEntry(section, key);
  return entry != nullptr ? ParseIniDouble(entry->value) : std::nullopt;
}

void IniStore::SetString(std::string_view section, std::string_view key, std::string_view value) {
  CheckStorable("key", key);
  CheckStorable("value", value);
  if (key.empty() || Trim(key) != key || key.find('=') != std::string_view::npos || key.front() == ';' ||
      key.front() == '#' || key.front() == '[') {
    throw IniError("INI key cannot be stored: '" + std::string(key) + "'");
  }
  Section& target = GetOrAddSection(section);
  if (const Entry* entry = FindEntry(target, key)) {
    const_cast<Entry*>(entry)->value = std::string(value);
    return;
  }
  AddEntry(target, key, value);
}

void IniStore::SetInt(std::string_view section, std::string_view key, long long value) {
  SetString(section, key, std::to_string(value));
}

void IniStore::SetDouble(std::string_view section, std::string_view key, double value) {
  SetString(section, key, FormatIniDouble(value));
}

}  // namespace xelfw
