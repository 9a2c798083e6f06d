// Temperature maps as files: 32-bit IEEE float TIFF pages, which image tools (ImageJ, Pillow,
// tifffile, GDAL) read as the numbers themselves, NaN included. A page with a provenance record
// carries it in its tags, and its ImageDescription starts as ImageJ's does ("ImageJ=", then
// "vunit=" with the record's Unit), so that ImageJ and Fiji show the values in that unit.
#pragma once

#include <XelImgProcess/XelTypes.h>
#include <xelhost/framework_types.h>

#include <filesystem>
#include <memory>
#include <span>

namespace xelhost {

class Provenance;

// Writes page by page, so that a sequence never has to be in memory whole. The file appears on
// Commit, complete; a writer destroyed without Commit leaves nothing (and the target unchanged).
// Throws ImageIoError naming the file.
class XEL_HOST_API FloatTiffWriter {
 public:
  explicit FloatTiffWriter(const std::filesystem::path& file);
  ~FloatTiffWriter();
  FloatTiffWriter(const FloatTiffWriter&) = delete;
  FloatTiffWriter& operator=(const FloatTiffWriter&) = delete;

  // values: width × height samples, row by row.
  void Add(UINT width, UINT height, std::span<const float> values, const Provenance* record = nullptr);
  UINT Pages() const;
  void Commit();

 private:
  struct State;
  std::unique_ptr<State> m_State;
};

}  // namespace xelhost
