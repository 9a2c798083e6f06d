// The TIFF tags of a provenance record.
#include "image_io/tiff_provenance.h"

#include <ctime>

namespace xelhost::image_io {

namespace {

// TIFF's "YYYY:MM:DD HH:MM:SS", the writer's local time as TIFF readers expect it.
std::string TiffDateTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[20];
  return std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local) == 19 ? std::string(text) : std::string();
}

}  // namespace

void SetProvenanceTags(TIFF* tiff, const Provenance& record, const std::string& descriptionHead) {
  const std::string description = descriptionHead + record.Block();
  TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, description.c_str());
  if (const std::string* software = record.Find("Software")) TIFFSetField(tiff, TIFFTAG_SOFTWARE, software->c_str());
  if (const std::string* source = record.Find("Source")) {
    const std::string* frame = record.Find("Frame");
    const std::string page = *source + (frame ? " frame " + *frame : std::string());
    TIFFSetField(tiff, TIFFTAG_PAGENAME, page.c_str());
  }
  if (const std::string now = TiffDateTimeNow(); !now.empty()) TIFFSetField(tiff, TIFFTAG_DATETIME, now.c_str());
}

}  // namespace xelhost::image_io
