// INI settings with the semantics of Windows profile files: named sections, keys compared without
// regard to case, values kept as text and read back as strings, integers or doubles.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace xelfw {

// A file that cannot be read, written or parsed; the message names the file and, for a parse
// error, the line.
class XEL_HOST_API IniError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a parse does with a section or a key given twice. Windows reads a repeated section as one and
// keeps a repeated key's first value; files a user writes for a host are read strictly, so that no
// value is silently ignored.
enum class IniSyntax { Windows, Strict };

// Text format: "[Section]" lines, "key=value" lines (blanks around key and value are dropped, a value
// in double quotes loses them), blank lines and comments starting with ';' or '#'. Lines end at LF,
// CRLF or a lone CR. A key outside a section, a line without '=', an empty key, an empty section name
// or an unclosed section header is an error; so is, in the strict syntax, a section or a key (within
// its section) given twice. Errors name the source and the line: "file:line: what".
// Parsing and look-ups take time in proportion to the text, however many keys a section holds.
class XEL_HOST_API IniStore {
 public:
  IniStore() = default;
  static IniStore Parse(std::string_view text, const std::string& sourceName = "INI text",
                        IniSyntax syntax = IniSyntax::Windows);
  // Reads regular files of up to kMaxFileBytes only; a directory, device or FIFO is refused by name,
  // before a byte is read.
  static IniStore Load(const std::filesystem::path& file, IniSyntax syntax = IniSyntax::Windows);
  // The bytes Load would parse, for readers that decode them first.
  static std::string ReadFile(const std::filesystem::path& file);
  static constexpr std::uint64_t kMaxFileBytes = std::uint64_t{64} << 20;
  std::string ToText() const;

  bool HasSection(std::string_view section) const;
  bool HasKey(std::string_view section, std::string_view key) const;
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(std::string_view section) const;
  bool RemoveKey(std::string_view section, std::string_view key);
  // The line a key was parsed from; 0 for a key that was set, nothing for a missing one.
  std::optional<std::size_t> LineOf(std::string_view section, std::string_view key) const;

  std::optional<std::string> GetString(std::string_view section, std::string_view key) const;
  // Decimal or 0x-hexadecimal, optional sign, nothing else on the line.
  std::optional<long long> GetInt(std::string_view section, std::string_view key) const;
  std::optional<double> GetDouble(std::string_view section, std::string_view key) const;

  // A new key goes to the end of its section, a new section to the end of the store.
  void SetString(std::string_view section, std::string_view key, std::string_view value);
  void SetInt(std::string_view section, std::string_view key, long long value);
  // Written with enough digits to read back the same double.
  void SetDouble(std::string_view section, std::string_view key, double value);

 private:
  struct Entry {
    std::string key;
    std::string value;
    std::size_t line = 0;
  };
  struct Section {
    std::string name;
    std::size_t line = 0;
    std::vector<Entry> entries;
    std::unordered_map<std::string, std::size_t> index;  // folded key → entry
  };
  const Section* FindSection(std::string_view name) const;
  Section& GetOrAddSection(std::string_view name);
  const Entry* FindEntry(std::string_view section, std::string_view key) const;
  static const Entry* FindEntry(const Section& section, std::string_view key);
  static void AddEntry(Section& section, std::string_view key, std::string_view value, std::size_t line = 0);

  std::vector<Section> m_Sections;
  std::unordered_map<std::string, std::size_t> m_SectionIndex;  // folded name → section
};

// Number parsing shared by the store and the base's INI helpers: the whole text must be the number.
XEL_HOST_API std::optional<long long> ParseIniInt(std::string_view text);
XEL_HOST_API std::optional<double> ParseIniDouble(std::string_view text);
XEL_HOST_API std::string FormatIniDouble(double value);

// What parameter 17 carries: one section of a store. Pass Handle() as the parameter value.
class XEL_HOST_API IniContext {
 public:
  IniContext(IniStore& store, std::string section) : m_Store(store), m_Section(std::move(section)) {}
  IniStore& Store() const { return m_Store; }
  const std::string& Section() const { return m_Section; }
  UINT_PTR Handle() { return reinterpret_cast<UINT_PTR>(this); }
  static IniContext* FromHandle(UINT_PTR handle) { return reinterpret_cast<IniContext*>(handle); }

 private:
  IniStore& m_Store;
  std::string m_Section;
};

}  // namespace xelfw
