// Output of the temperature command: short text lines for people, JSON Lines and CSV for programs.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/plugin_objects.h>

#include <xelhost/AreaStatistics.h>
#include <xelhost/area_delta.h>
#include <xelhost/line_profile.h>

#include <cstddef>
#include <optional>
#include <string>

namespace xelhost {

enum class ReportFormat { kText, kJson, kCsv };

// Where a reading comes from.
struct ReadingOrigin {
  std::size_t frame;  // position in the whole run
  std::string source;
  UINT page;
  bool named;                                 // the run has several inputs: the text line names the source too
  std::optional<double> time = std::nullopt;  // a stream frame's presentation time in seconds
};

// One area of one frame: the object's reading and the statistics of the same pixels.
struct AreaReading {
  const xelhost::MeasurementArea& area;
  const TemperatureReading& reading;
  const xelhost::AreaStatistics& statistics;
  bool areaNamed;  // the run has several or named areas: the text line names the area
};

// Text as a JSON string: quoted, with quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& text);

// The CSV header row; printed once, before the first row. Its columns hold every kind of row.
void PrintCsvHeader();

// Text: "frame N: mean grey G, epsilon E, temperature T UNIT (of the mean grey), pixels' mean M, min
// A, max B, std S" with the area's name after the frame number when areaNamed, then every count of
// doubtful pixels that is not zero ("; 100 without a temperature; 12 saturated; 40 beyond the
// calibration (10 below, 30 above)"), " (SOURCE page P)" for several inputs and " (at T s)" for a
// stream frame. JSON: one object a line with the frame, source, page, time, then the record's fields
// (area_record.h), the object's values as it formats them and the statistics at full precision
// (shortest text that reads back exactly). CSV: the same numbers, one row. A value that is not
// available is null in JSON and an empty field in CSV. Flushed at once, for a reader at the other end
// of a pipe.
void PrintAreaReading(const AreaReading& reading, const ReadingOrigin& origin, ReportFormat format);
// JSON and CSV: one row a sample; text: one line with the line's pixels, min, max and mean.
void PrintLineProfile(const LineProfile& profile, const ProfileLine& line, const std::string& unit,
                      const ReadingOrigin& origin, ReportFormat format);
// One row or line: the differences of the mean, maximum and minimum.
void PrintDelta(const AreaDelta& delta, const DeltaValues& values, const std::string& unit, const ReadingOrigin& origin,
                ReportFormat format);

}  // namespace xelhost
