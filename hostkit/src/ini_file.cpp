// INI files written atomically.
#include <xelhost/AtomicFile.h>
#include <xelhost/IniFile.h>

#include <string>

namespace xelhost {

void SaveIniFile(const xelfw::IniStore& store, const std::filesystem::path& file) {
  try {
    AtomicFile out(file);
    out.Write(store.ToText());
    out.Commit();
  } catch (const FileWriteError& error) {
    throw xelfw::IniError(std::string("cannot save INI file: ") + error.what());
  }
}

}  // namespace xelhost
