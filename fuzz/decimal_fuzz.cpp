// LeadingDecimal and ParseDecimal against a reading of the same grammar one character at a time
// that keeps the digits as text; ToDouble against strtod where no digit was rounded off; and the
// order of two decimals against their doubles'.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/table/decimal.h"
#include "fuzz/check.h"

namespace kesmaro {
namespace {

/// A decimal read by hand: where it ends, and whether every digit written is held.
struct Reading {
  std::optional<Decimal> number;
  std::size_t end = 0;
  bool exact = true;
};

Reading Read(std::string_view text, DecimalMark mark) {
  std::size_t pos = 0;
  const auto digit = [&] { return pos < text.size() && IsDigit(text[pos]); };
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  std::string digits;  // the number is digits × 10^scale
  std::int64_t scale = 0;
  for (; digit(); ++pos) digits += text[pos];
  if (pos < text.size() && text[pos] == static_cast<char>(mark)) {
    for (++pos; digit(); ++pos, --scale) digits += text[pos];
  }
  if (digits.empty()) return {};
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    const bool down = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    if (!digit()) return {};
    std::int64_t written = 0;  // held up where no text of the fuzzer's could bring it back in range
    for (; digit(); ++pos)
      written = std::min<std::int64_t>(written * 10 + (text[pos] - '0'), 1'000'000'000'000);
    scale += down ? -written : written;
  }
  Reading reading{Decimal{}, pos};
  digits.erase(0, digits.find_first_not_of('0'));
  if (digits.empty()) return reading;
  if (digits.size() > 19) {  // the 20th digit rounds the 19th, halves away from zero
    reading.exact = digits.find_first_not_of('0', 19) == std::string::npos;
    const bool up = digits[19] >= '5';
    scale += static_cast<std::int64_t>(digits.size()) - 19;
    digits.resize(19);
    std::size_t i = digits.size();
    for (; up && i > 0 && digits[i - 1] == '9'; --i) digits[i - 1] = '0';
    if (up && i == 0) digits.insert(0, "1");
    if (up && i > 0) ++digits[i - 1];
  }
  for (; digits.back() == '0'; ++scale) digits.pop_back();
  if (std::abs(scale) > 999'999'999) {
    reading.number.reset();
    return reading;
  }
  reading.number = Decimal{std::stoull(digits), static_cast<std::int32_t>(scale), negative};
  return reading;
}

}  // namespace
}  // namespace kesmaro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmaro;
  const std::optional<MarkedText> input = MarkedTextOf(data, size);
  if (!input) return 0;
  const auto [mark, text] = *input;

  const Reading reading = Read(text, mark);
  std::size_t end = text.size() + 1;
  const std::optional<Decimal> number = LeadingDecimal(text, &end, mark);
  KESMARO_CHECK(number == reading.number);
  KESMARO_CHECK(!number || end == reading.end);
  KESMARO_CHECK(ParseDecimal(text, mark) == (reading.end == text.size() ? reading.number : std::nullopt));
  if (!number) return 0;
  if (reading.exact) {
    std::string written(text.substr(0, end));
    std::replace(written.begin(), written.end(), ',', '.');
    KESMARO_CHECK(ToDouble(*number) == std::strtod(written.c_str(), nullptr));
  }
  // A second number after the first, ordered as their doubles where those differ.
  std::size_t otherEnd = 0;
  const std::optional<Decimal> other =
      LeadingDecimal(text.substr(std::min(end + 1, text.size())), &otherEnd, mark);
  if (!other) return 0;
  KESMARO_CHECK((*number <=> *other) == (0 <=> (*other <=> *number)));
  KESMARO_CHECK((*number == *other) == (*number <=> *other == 0));
  const double x = ToDouble(*number), y = ToDouble(*other);
  if (x != y) KESMARO_CHECK((*number < *other) == (x < y));
  return 0;
}
