// What made a picture or a temperature map, written into the file itself so that a report picture
// can be traced back to its source, settings and calibration. The fields and their keys are listed in
// docs/provenance.md; a reader (xelimg info, exiftool, ImageJ, a script) finds them by key.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>

#include <xelfw/TemperatureCalibration.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace xelhost {

struct ProvenanceField {
  std::string key;    // letters and digits only, so that it is a PNG keyword and a properties key
  std::string value;  // UTF-8, one line
};

// An ordered list of fields. The block form is one "Key=Value" line a field (UTF-8): what PNG's
// "XelPseudoColor" text chunk and a TIFF's ImageDescription hold, and what Parse reads back.
class XEL_HOST_API Provenance {
 public:
  // A key given again replaces its value in place; line breaks in a value become spaces.
  void Set(std::string_view key, std::string value);
  const std::string* Find(std::string_view key) const;
  // Every field of another record, set in its order.
  void Append(const Provenance& other);
  const std::vector<ProvenanceField>& Fields() const { return m_Fields; }
  bool Empty() const { return m_Fields.empty(); }

  std::string Block() const;
  // The fields of a block, from its first "Software=" line on: a TIFF's description may start with
  // another program's lines (ImageJ's). Lines without "=" are skipped.
  static Provenance Parse(std::string_view block);
  // One sentence for a reader's "Comment": "demo: frame 0, profile Iron, window 0.2:0.8 (...)".
  std::string Summary() const;

 private:
  std::vector<ProvenanceField> m_Fields;
};

// The name of the chunk (PNG) that holds the block.
inline constexpr std::string_view kProvenanceKeyword = "XelPseudoColor";

// "PROGRAM VERSION (XelPseudoColor)": the first field of every record.
XEL_HOST_API Provenance StartProvenance(std::string_view program);

// The input of one frame: its name and its frame (a file's page, a stream's frame number); for a
// stream, which is live, also the time (UTC) the frame was taken from it.
XEL_HOST_API void SetProvenanceSource(Provenance& record, const std::string& input, UINT frame, bool stream);

// The fields of the calibration a command read from --ini (the file's name and SHA-256) and
// --epsilon: Calibration, CalibrationSHA256, Emissivity and Unit (the display unit); none without a
// calibration. A run computes them once and appends them to each frame's record.
XEL_HOST_API Provenance CalibrationProvenance(const Arguments& args,
                                              const std::optional<xelfw::TemperatureCalibration>& calibration);

// The lowercase hex SHA-256 of bytes, and of a file's contents (throws std::runtime_error naming the
// file when it cannot be read).
XEL_HOST_API std::string Sha256Hex(std::span<const std::uint8_t> bytes);
XEL_HOST_API std::string FileSha256Hex(const std::filesystem::path& file);

// A number as the fields write it: shortest form that reads back to the same double.
XEL_HOST_API std::string ProvenanceNumber(double value);

}  // namespace xelhost
