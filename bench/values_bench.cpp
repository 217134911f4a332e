// Conversions per second of attribute values to and from their document
// text, for the types a package holds most.
#include "values/date_text.h"
#include "values/text_to_value.h"
#include "values/value_to_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace nv {
namespace {

Variant SampleValue(DataTypeEnum type) {
  switch (type) {
    case dtInt:
      return Variant(int32_t(-1234567));
    case dtDouble:
      return Variant(3.14159265358979);
    case dtString:
      return Variant(u"Flange <DN 50> & bolts, caf\u00e9 \"M12\"");
    default:
      return Variant::Date(CombineDateAndTime(EncodeDate(2009, 3, 7), EncodeTime(14, 5, 9, 250)));
  }
}

const char16_t* SampleText(DataTypeEnum type) {
  switch (type) {
    case dtInt:
      return u"-1234567";
    case dtDouble:
      return u"3.14159265358979";
    case dtString:
      return u"Flange <DN 50> & bolts";
    default:
      return u"2009-03-07T14:05:09.250Z";
  }
}

// Into a reused buffer, as a document writer does.
void AppendText(benchmark::State& state, DataTypeEnum type) {
  const Variant value = SampleValue(type);
  std::u16string out;
  for (auto _ : state) {
    out.clear();
    AppendVexaVariantText(out, value, type);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}

// As a string of its own.
void ToText(benchmark::State& state, DataTypeEnum type) {
  const Variant value = SampleValue(type);
  for (auto _ : state) {
    Bstr text = VexaVariantToText(value, type);
    benchmark::DoNotOptimize(text.Raw());
  }
  state.SetItemsProcessed(state.iterations());
}

void ToValue(benchmark::State& state, DataTypeEnum type) {
  const std::u16string_view text = SampleText(type);
  for (auto _ : state) {
    Variant value = VexaValueToVariant(text, type);
    benchmark::DoNotOptimize(value.vt);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(AppendText, int, dtInt);
BENCHMARK_CAPTURE(AppendText, double, dtDouble);
BENCHMARK_CAPTURE(AppendText, string_escaped, dtString);
BENCHMARK_CAPTURE(AppendText, dateTime, dtDateTime);
BENCHMARK_CAPTURE(ToText, int, dtInt);
BENCHMARK_CAPTURE(ToText, double, dtDouble);
BENCHMARK_CAPTURE(ToText, string_escaped, dtString);
BENCHMARK_CAPTURE(ToText, dateTime, dtDateTime);
BENCHMARK_CAPTURE(ToValue, int, dtInt);
BENCHMARK_CAPTURE(ToValue, double, dtDouble);
BENCHMARK_CAPTURE(ToValue, string, dtString);
BENCHMARK_CAPTURE(ToValue, dateTime, dtDateTime);

}  // namespace
}  // namespace nv

BENCHMARK_MAIN();
