// Durations: their texts, the record a text describes, and the object that
// carries a duration as an attribute's value.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace nv {

// Duration texts (P1Y2M3DT4H5M6.5S, a leading "-" for negative durations)
// and the record they describe.

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

// The value of a duration attribute: an object whose properties are the
// components of a duration. The sign lives in Negative alone, so no
// component takes a negative number.

class CNvVexaDurationAttributeValueImpl {
 public:
  virtual ~CNvVexaDurationAttributeValueImpl() = default;

  virtual SHORT Day() { return record_.day; }
  virtual void PutDay(SHORT value);
  virtual SHORT Month() { return record_.month; }
  virtual void PutMonth(SHORT value);
  virtual SHORT Year() { return record_.year; }
  virtual void PutYear(SHORT value);
  virtual SHORT Hour() { return record_.hour; }
  virtual void PutHour(SHORT value);
  virtual SHORT Min() { return record_.minutes; }
  virtual void PutMin(SHORT value);
  virtual DOUBLE Sec() { return record_.seconds; }
  virtual void PutSec(DOUBLE value);
  virtual bool Negative() { return record_.negative; }
  virtual void PutNegative(bool value) { record_.negative = value; }

  // Replaces the whole record by the parsed text, or leaves it on failure.
  virtual void Initialize(const BstrArg& text);
  virtual Bstr ToString();

  const DurationRecord& Record() const noexcept { return record_; }

 private:
  DurationRecord record_;
};

class CNvVexaDurationAttributeValue final
    : public Implements<CNvVexaDurationAttributeValue, CNvVexaDurationAttributeValueImpl,
                        INvVexaDurationAttributeValue, INvVexaDurationAttributeValueCRaw> {};

// A new duration value initialised from `text` (throws the parse failures).
ComPtr<INvVexaDurationAttributeValue> MakeDurationValue(std::u16string_view text);

}  // namespace nv
