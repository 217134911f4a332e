// Duration texts (P1Y2M3DT4H5M6.5S, a leading "-" for negative durations)
// and the record they describe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nv {

struct DurationRecord {
  int16_t day = 0;
  int16_t month = 0;
  int16_t year = 0;
  int16_t hour = 0;
  int16_t minutes = 0;
  double seconds = 0;
  bool negative = false;

  friend bool operator==(const DurationRecord&, const DurationRecord&) = default;
};

// Throws ENvException "Invalid duration format: ..." for a text that is not
// a duration. The components are whole numbers up to 32767 except the
// seconds, which may have a fraction; "P0" reads as the zero duration.
DurationRecord ParseDuration(std::u16string_view text);

// Components that are zero are left out; the zero duration is "PT0S".
// The seconds take the fewest digits that read back to the same double, in
// plain decimal since a duration has no exponent (2.5, 0.0000001).
void AppendDurationText(std::u16string& out, const DurationRecord& duration);

}  // namespace nv
