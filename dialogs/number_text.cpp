#include "dialogs/number_text.h"

#include <charconv>
#include <climits>
#include <cstddef>
#include <limits>
#include <system_error>

namespace kelvora {

namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips white space and reads an optional sign; returns the position after them.
std::size_t SkipSpaceAndSign(std::string_view text, bool& negative) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  return i;
}

}  // namespace

int ReadLeadingInteger(std::string_view text) {
  bool negative = false;
  std::size_t i = SkipSpaceAndSign(text, negative);
  // Accumulate the magnitude, stopping just past the int range so that any
  // number of further digits cannot overflow.
  constexpr long long kCap = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (magnitude < kCap) magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (magnitude > kCap) magnitude = kCap;
  if (negative) return static_cast<int>(-magnitude);  // INT_MIN at most
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

double ReadLeadingDouble(std::string_view text) {
  bool negative = false;
  const std::size_t start = SkipSpaceAndSign(text, negative);
  std::size_t i = start;
  std::size_t digits = 0;
  // The decimal order of the first significant digit (0 for units), kept to
  // tell overflow from underflow when the number is out of range.
  long long order = 0;
  bool significant = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
    if (text[i] != '0' && !significant) significant = true;
    if (significant) ++order;
  }
  if (significant) --order;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
      if (!significant) --order;
      if (text[i] != '0') significant = true;
    }
  }
  if (digits == 0) return 0.0;

  // An exponent counts only if at least one digit follows "e" and its sign.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool exponentNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponentNegative = text[j] == '-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      long long exponent = 0;
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[j] - '0');
      }
      order += exponentNegative ? -exponent : exponent;
      i = j;
    }
  }

  const std::string_view number = text.substr(start, i - start);
  double value = 0.0;
  const std::from_chars_result result =
      std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value = (significant && order > 0) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace kelvora
