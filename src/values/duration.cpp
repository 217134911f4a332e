#include "values/duration.h"

#include "frame/exception.h"
#include "values/number_text.h"

#include <cmath>

namespace nv {
namespace {

constexpr std::u16string_view kDateDesignators = u"YMD";
constexpr std::u16string_view kTimeDesignators = u"HMS";

[[noreturn]] void ThrowNotADuration(std::u16string_view text) {
  std::u16string message(u"Invalid duration format:  \"");
  message += text;
  message += u"\" is not a valid duration.";
  throw ENvException(std::u16string_view(message));
}

bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

// The rules on letter case, "-" and "P"; answers the text after them.
std::u16string_view CheckSeparators(std::u16string_view text, bool& negative) {
  for (size_t at = 0; at < text.size(); ++at) {
    const char16_t c = text[at];
    if (c >= u'a' && c <= u'z') {
      throw ENvException(
          "Invalid duration format:  only capital letters are allowed for separators.");
    }
  }
  negative = !text.empty() && text[0] == u'-';
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == u'-' && at != 0) {
      throw ENvException(
          "Invalid duration format:  '-' is allowd only in the beginning of the string.");
    }
    if (text[at] == u'P' && at != (negative ? 1u : 0u)) {
      throw ENvException(
          "Invalid duration format:  'P' is allowd only in the beginning of the string or after "
          "'-'.");
    }
  }
  std::u16string_view body = text.substr(negative ? 1 : 0);
  if (!body.empty() && body[0] == u'P') body.remove_prefix(1);
  return body;
}

// A whole component of at most 32767.
int16_t WholeOf(std::u16string_view digits, std::u16string_view text) {
  int value = 0;
  for (char16_t c : digits) {
    if (c == u'.') ThrowNotADuration(text);
    value = value * 10 + (c - u'0');
    if (value > INT16_MAX) ThrowNotADuration(text);
  }
  return static_cast<int16_t>(value);
}

// Numbers each followed by one of `designators`, in that order, each once.
void ParseComponents(std::u16string_view part, std::u16string_view designators,
                     std::u16string_view text, DurationRecord& record) {
  const bool timePart = designators == kTimeDesignators;
  size_t at = 0;
  size_t nextDesignator = 0;
  while (at < part.size()) {
    const size_t start = at;
    while (at < part.size() && IsDigit(part[at])) ++at;
    if (at < part.size() && part[at] == u'.' && at > start) {
      ++at;
      while (at < part.size() && IsDigit(part[at])) ++at;
    }
    if (at == start || at == part.size()) ThrowNotADuration(text);
    const size_t designator = designators.find(part[at], nextDesignator);
    if (designator == std::u16string_view::npos) ThrowNotADuration(text);
    const std::u16string_view number = part.substr(start, at - start);
    if (timePart && designator == 2) {
      record.seconds = ParseLeadingReal(number);
      // Beyond the largest double the seconds have no text to write back.
      if (!std::isfinite(record.seconds)) ThrowNotADuration(text);
    } else {
      int16_t& field = timePart ? (designator == 0 ? record.hour : record.minutes)
                                : (designator == 0   ? record.year
                                   : designator == 1 ? record.month
                                                     : record.day);
      field = WholeOf(number, text);
    }
    nextDesignator = designator + 1;
    ++at;
  }
}

void AppendComponent(std::u16string& out, int16_t value, char16_t designator) {
  if (value == 0) return;
  AppendDecimal(out, value);
  out += designator;
}

}  // namespace

DurationRecord ParseDuration(std::u16string_view text) {
  DurationRecord record;
  const std::u16string_view body = CheckSeparators(text, record.negative);
  if (body == u"0") return record;  // the zero duration as older writers wrote it
  const size_t t = body.find(u'T');
  ParseComponents(body.substr(0, t), kDateDesignators, text, record);
  if (t != std::u16string_view::npos) {
    ParseComponents(body.substr(t + 1), kTimeDesignators, text, record);
  }
  return record;
}

void AppendDurationText(std::u16string& out, const DurationRecord& d) {
  if (d.negative) out += u'-';
  out += u'P';
  AppendComponent(out, d.year, u'Y');
  AppendComponent(out, d.month, u'M');
  AppendComponent(out, d.day, u'D');
  if (d.hour != 0 || d.minutes != 0 || d.seconds != 0) {
    out += u'T';
    AppendComponent(out, d.hour, u'H');
    AppendComponent(out, d.minutes, u'M');
    if (d.seconds != 0) {
      AppendPlainReal(out, d.seconds);
      out += u'S';
    }
  } else if (d.year == 0 && d.month == 0 && d.day == 0) {
    out += u"T0S";
  }
}

namespace {

SHORT NonNegative(SHORT value, const char* message) {
  if (value < 0) throw ENvException(message);
  return value;
}

}  // namespace

void CNvVexaDurationAttributeValueImpl::PutDay(SHORT value) {
  record_.day = NonNegative(value, "Invalid duration format: day can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutMonth(SHORT value) {
  record_.month = NonNegative(value, "Invalid duration format: month can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutYear(SHORT value) {
  record_.year = NonNegative(value, "Invalid duration format: year can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutHour(SHORT value) {
  record_.hour = NonNegative(value, "Invalid duration format: hour can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutMin(SHORT value) {
  record_.minutes = NonNegative(value, "Invalid duration format: minutes can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutSec(DOUBLE value) {
  if (value < 0) throw ENvException("Invalid duration format: seconds can't be negative.");
  // NaN and infinity have no duration text that could be read back.
  if (!std::isfinite(value)) {
    throw ENvException("Invalid duration format: seconds must be a finite number.");
  }
  record_.seconds = value;
}

void CNvVexaDurationAttributeValueImpl::Initialize(const BstrArg& text) {
  record_ = ParseDuration(text.View());
}

Bstr CNvVexaDurationAttributeValueImpl::ToString() {
  std::u16string text;
  AppendDurationText(text, record_);
  return Bstr(text);
}

ComPtr<INvVexaDurationAttributeValue> MakeDurationValue(std::u16string_view text) {
  auto* object = new CNvVexaDurationAttributeValue();
  ComPtr<INvVexaDurationAttributeValue> made(object);
  // Straight to the implementation: a failure stays our own exception.
  static_cast<CNvVexaDurationAttributeValueImpl&>(*object).Initialize(text);
  return made;
}

}  // namespace nv
