// Checking and merging pseudo-colour settings files.
#include <xelhost/settings_file.h>

#include <xelhost/errors.h>
#include <xelhost/settings_keys.h>

#include <xelfw/TextEncoding.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace xelhost {

namespace {

// The whole of standard input, up to the size an INI file may have.
std::string ReadText(int fd, const std::string& name) {
  std::string text;
  char block[1 << 16];
  while (true) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw CommandError(name + ": cannot read: " + std::strerror(errno));
    if (n == 0) return text;
    if (text.size() + static_cast<std::size_t>(n) > xelfw::IniStore::kMaxFileBytes) {
      throw CommandError(name + ": larger than " + std::to_string(xelfw::IniStore::kMaxFileBytes >> 20) +
                         " MiB, more than a settings file holds");
    }
    text.append(block, static_cast<std::size_t>(n));
  }
}

// Whether the first line that is not blank or a comment is a key rather than a section line.
bool StartsWithKey(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] != ';' && line[first] != '#') return line[first] != '[';
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  }
  return false;
}

// A file without a section line is read under the object's own: the header put in front of it
// moves every line down one, which the messages of a line must not show.
xelfw::IniStore ParseSettings(std::string_view text, const std::string& name, const std::string& objectName) {
  if (!StartsWithKey(text)) return xelfw::IniStore::Parse(text, name, xelfw::IniSyntax::Strict);
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  try {
    return xelfw::IniStore::Parse("[" + objectName + "]\n" + std::string(text), name, xelfw::IniSyntax::Strict);
  } catch (const xelfw::IniError& error) {
    const std::string message = error.what();
    const std::string prefix = name + ":";
    std::size_t digits = 0;
    if (message.starts_with(prefix)) digits = message.find_first_not_of("0123456789", prefix.size()) - prefix.size();
    if (digits == 0) throw;
    const unsigned long line = std::stoul(message.substr(prefix.size(), digits));
    throw xelfw::IniError(prefix + std::to_string(line - 1) + message.substr(prefix.size() + digits));
  }
}

}  // namespace

void ImportSettingsFile(PseudoColorObject& object, const std::filesystem::path& file) {
  ImportSettingsText(object, xelfw::IniStore::ReadFile(file), file.string());
}

void ImportSettingsText(PseudoColorObject& object, std::string_view text, const std::string& fileName) {
  const xelfw::IniStore given = ParseSettings(text, fileName, object.Name());
  const std::string section = SettingsSection(given, object.Name());
  if (!given.HasSection(section)) throw CommandError(fileName + ": no [" + object.Name() + "] section");
  CheckPseudoColorSettingsKeys(given, section, fileName, object.ProfileCount());

  xelfw::IniStore merged;
  object.ExportSettings(merged);
  const std::string& target = object.Name();
  for (const std::string& key : given.Keys(section)) {
    const std::string value = *given.GetString(section, key);
    // Checked above: only UnitDesc may hold more than ASCII, in a form Windows-1252 can write.
    merged.SetString(target, key, *xelfw::TextToCp1252(value));
  }
  // The object reads the older key only where the newer one is missing.
  if (given.HasKey(section, "AutoContrastEnabled") && !given.HasKey(section, "AutoMode")) {
    merged.RemoveKey(target, "AutoMode");
  }
  const double lower = *merged.GetDouble(target, "Lower");
  const double upper = *merged.GetDouble(target, "Upper");
  if (lower > upper) {
    throw CommandError(fileName + ": Lower " + xelfw::FormatIniDouble(lower) + " lies above Upper " +
                       xelfw::FormatIniDouble(upper));
  }
  if (!object.ImportSettings(merged)) throw CommandError(fileName + ": the object did not take every setting");
}

std::string ReadStandardInputText() { return ReadText(STDIN_FILENO, "standard input"); }

}  // namespace xelhost
