// One area's reading, one sample of a line profile or one difference of two areas as named values:
// the fields a temperature report prints, for faces that hand them on as data (Python's dicts) as
// well as for the report's own JSON and CSV, so the two never differ in keys or numbers.
#pragma once

#include <xelhost/area_delta.h>
#include <xelhost/framework_types.h>
#include <xelhost/line_profile.h>
#include <xelhost/temperature_report.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace xelhost {

// Not available (null), text, a count or a pixel coordinate, or a measured number.
using RecordValue = std::variant<std::monostate, std::string, std::uint64_t, double>;

struct RecordField {
  std::string_view name;
  RecordValue value;
  bool text() const { return std::holds_alternative<std::string>(value); }
  // How a report prints the value: the object's own field text, the mean grey value to six
  // decimals, a number as the shortest text that reads back exactly; nothing when not available.
  std::optional<std::string> printed;
};

// The fields in report order, after the reading's origin (frame, source, page, time). Every record
// starts with its kind ("area", "line" or "delta") and its name ("area"); each kind has the fields
// that mean something for it, in the order of RecordColumns.
std::vector<RecordField> AreaRecord(const AreaReading& reading);
// One sample, with the line's own counts and statistics beside it.
std::vector<RecordField> LineSampleRecord(const LineProfile& profile, const ProfileLine& line, const LineSample& sample,
                                          const std::string& unit);
std::vector<RecordField> DeltaRecord(const AreaDelta& delta, const DeltaValues& values, const std::string& unit);
// Every field name any kind has, in report order: the columns of a CSV report.
std::vector<std::string_view> RecordColumns();

}  // namespace xelhost
