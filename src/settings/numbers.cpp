#include "settings/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace orvel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t CountDigits(std::string_view text, std::size_t from) {
  std::size_t end = from;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - from;
}

// The length of the longest start of `text` that is a number: a sign,
// digits with an optional fraction (".5" and "5." count, "." does not) and
// an optional exponent. 0 when the text does not start with a number.
std::size_t NumberPrefix(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t whole = CountDigits(text, i);
  i += whole;
  std::size_t fraction = 0;
  if (i < text.size() && text[i] == '.') {
    fraction = CountDigits(text, i + 1);
    if (whole + fraction == 0) return 0;
    i += 1 + fraction;
  }
  if (whole + fraction == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t digits = CountDigits(text, j);
    if (digits > 0) i = j + digits;
  }
  return i;
}

// Whether a number too large or too small for a double is too large: the
// power of ten of its first significant digit decides. `text` is a
// complete number as NumberPrefix accepts it, without a leading sign.
bool Overflows(std::string_view text) {
  std::size_t mark = text.find_first_of("eE");
  std::string_view mantissa = text.substr(0, mark);
  long long exponent = 0;
  if (mark != std::string_view::npos) {
    std::string_view digits = text.substr(mark + 1);
    bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
      digits.remove_prefix(1);
    }
    for (char c : digits) {
      // Anything beyond this is out of range in either direction anyway.
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (c - '0');
    }
    if (negative) exponent = -exponent;
  }
  std::size_t point = mantissa.find('.');
  if (point == std::string_view::npos) point = mantissa.size();
  std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return false;  // zero never overflows
  long long magnitude = first < point ? static_cast<long long>(point - first)
                                      : -static_cast<long long>(first - point - 1);
  return magnitude + exponent > 0;
}

// Converts a text that NumberPrefix accepted whole. A number beyond the
// range of a double comes back as an infinity; one too small to hold as the
// smallest value of its sign, so that rounding down still sees it below 0.
double Convert(std::string_view text) {
  bool negative = text.front() == '-';
  if (text.front() == '+' || text.front() == '-') text.remove_prefix(1);
  double value = 0;
  auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    value = Overflows(text) ? std::numeric_limits<double>::infinity()
                            : std::numeric_limits<double>::denorm_min();
  }
  return negative ? -value : value;
}

double Round(double value, Rounding rounding) {
  double down = std::floor(value);
  if (rounding == Rounding::Down) return down;
  double rest = value - down;
  if (rest > 0.5) return down + 1;
  if (rest < 0.5) return down;
  return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

template <typename Int>
std::optional<Int> ToInteger(double value, Rounding rounding) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = Round(value, rounding);
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    return std::nullopt;
  }
  return static_cast<Int>(rounded);
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::size_t length = NumberPrefix(text);
  if (length == 0 || length != text.size()) return std::nullopt;
  return Convert(text);
}

std::optional<std::int16_t> ParseInt16(std::string_view text, Rounding rounding) {
  std::optional<double> value = ParseNumber(text);
  if (!value) return std::nullopt;
  return ToInteger<std::int16_t>(*value, rounding);
}

std::optional<std::int32_t> ParseInt32Strict(std::string_view text) {
  std::optional<double> value = ParseNumber(text);
  if (!value) return std::nullopt;
  return ToInteger<std::int32_t>(*value, Rounding::HalfEven);
}

std::int32_t ParseInt32Lenient(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  std::size_t length = NumberPrefix(text);
  if (length == 0) return 0;
  return ToInteger<std::int32_t>(Convert(text.substr(0, length)), Rounding::HalfEven).value_or(0);
}

std::string FormatNumber(std::int32_t value) { return std::to_string(value); }

}  // namespace orvel
