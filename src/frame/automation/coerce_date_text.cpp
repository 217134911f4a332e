// DATE <-> text. Dates are written "MM/DD/YYYY hh:mm:ss" (24-hour, to the
// second), without the time at midnight and without the date on 1899-12-30,
// so DATE 0 is "00:00:00". Read back: that form (date, time or both, with an
// optional AM/PM) and ISO 8601 "YYYY-MM-DD[(T| )hh:mm[:ss[.fff]]]".
#include "frame/automation/coerce_internal.h"
#include "frame/automation/calendar.h"

#include <cstdio>
#include <string>

namespace nv {

namespace {

// A cursor over ASCII text; each reader consumes only on success.
class Scanner {
 public:
  explicit Scanner(std::u16string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ == text_.size(); }
  size_t Position() const { return pos_; }
  void Rewind(size_t pos) { pos_ = pos; }

  bool Take(char16_t c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  // `minDigits` to `maxDigits` decimal digits, and no more.
  bool Number(int minDigits, int maxDigits, int* value) {
    int count = 0, result = 0;
    for (; !AtEnd() && IsDigit(text_[pos_]); ++pos_, ++count) {
      if (count == maxDigits) return false;
      result = result * 10 + (text_[pos_] - u'0');
    }
    *value = result;
    return count >= minDigits;
  }

  // Fraction digits after a point: milliseconds, further digits dropped.
  void Milliseconds(int* value) {
    int scale = 100;
    for (*value = 0; !AtEnd() && IsDigit(text_[pos_]); ++pos_, scale /= 10)
      *value += (text_[pos_] - u'0') * scale;
  }

  bool Blanks() {
    const size_t start = pos_;
    while (!AtEnd() && text_[pos_] == u' ') ++pos_;
    return pos_ > start;
  }

  // 'A' or 'P' followed by 'M', in either case.
  bool Meridiem(bool* afternoon) {
    if (pos_ + 2 > text_.size() || (text_[pos_ + 1] | 0x20) != u'm') return false;
    const char16_t c = text_[pos_] | 0x20;
    if (c != u'a' && c != u'p') return false;
    *afternoon = c == u'p';
    pos_ += 2;
    return true;
  }

 private:
  static bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

  std::u16string_view text_;
  size_t pos_ = 0;
};

bool ReadIsoDate(Scanner& s, DateParts& p) {
  return s.Number(4, 4, &p.year) && s.Take(u'-') && s.Number(2, 2, &p.month) && s.Take(u'-') &&
         s.Number(2, 2, &p.day);
}

bool ReadUsDate(Scanner& s, DateParts& p) {
  return s.Number(1, 2, &p.month) && s.Take(u'/') && s.Number(1, 2, &p.day) && s.Take(u'/') &&
         s.Number(4, 4, &p.year);
}

// "h:mm", "h:mm:ss" or "h:mm:ss.fff".
bool ReadClock(Scanner& s, DateParts& p) {
  if (!s.Number(1, 2, &p.hour) || !s.Take(u':') || !s.Number(2, 2, &p.minute)) return false;
  if (!s.Take(u':')) return true;
  if (!s.Number(2, 2, &p.second)) return false;
  if (s.Take(u'.')) s.Milliseconds(&p.millisecond);
  return true;
}

// A clock with an optional " AM" / " PM": 12 AM is midnight, 12 PM noon.
bool ReadTimeOfDay(Scanner& s, DateParts& p) {
  if (!ReadClock(s, p)) return false;
  const size_t beforeBlanks = s.Position();
  bool afternoon = false;
  if (!(s.Blanks() && s.Meridiem(&afternoon))) {
    s.Rewind(beforeBlanks);
    return true;
  }
  if (p.hour < 1 || p.hour > 12) return false;
  p.hour = p.hour % 12 + (afternoon ? 12 : 0);
  return true;
}

bool ReadDateText(Scanner& s, DateParts& p) {
  if (ReadIsoDate(s, p)) return s.AtEnd() || ((s.Take(u'T') || s.Take(u' ')) && ReadClock(s, p));
  s.Rewind(0);
  p = DateParts{};
  if (ReadUsDate(s, p)) return s.AtEnd() || (s.Blanks() && ReadTimeOfDay(s, p));
  s.Rewind(0);
  p = DateParts{};  // a time alone lies on 1899-12-30
  return ReadTimeOfDay(s, p);
}

}  // namespace

HRESULT DateToText(DATE value, VARIANT* out) {
  const auto p = SplitDate(value, DatePrecision::kSecond);
  if (!p) return E_INVALIDARG;
  const bool onEpochDay = p->year == 1899 && p->month == 12 && p->day == 30;
  const bool atMidnight = p->hour == 0 && p->minute == 0 && p->second == 0;
  char buffer[32];
  int length = 0;
  if (!onEpochDay)
    length = std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", p->month, p->day, p->year);
  if (onEpochDay || !atMidnight)
    std::snprintf(buffer + length, sizeof buffer - length, "%s%02d:%02d:%02d",
                  onEpochDay ? "" : " ", p->hour, p->minute, p->second);
  const std::string_view text(buffer);
  return StoreText(std::u16string(text.begin(), text.end()), out);
}

HRESULT DateFromText(std::u16string_view text, DATE* out) {
  Scanner scanner(TrimBlanks(text));
  DateParts parts;
  if (!ReadDateText(scanner, parts) || !scanner.AtEnd()) return DISP_E_TYPEMISMATCH;
  const auto date = MakeDate(parts);
  if (!date) return DISP_E_TYPEMISMATCH;
  *out = *date;
  return S_OK;
}

}  // namespace nv
