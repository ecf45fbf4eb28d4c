// The numbers the dialogs read from their edit fields (what a user types or
// pastes). Both readers must agree with the C library's strtoll and strtod
// in the C locale on the longest decimal prefix, except where they say they
// differ: int's range saturates, and hexadecimal, "inf" and "nan" are no
// numbers.

#include "dialogs/number_text.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"

using namespace kelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);  // NUL-terminated

  errno = 0;
  const long long wide = std::strtoll(text.c_str(), nullptr, 10);
  const long long clamped = wide < INT_MIN ? INT_MIN : wide > INT_MAX ? INT_MAX : wide;
  FUZZ_CHECK(ReadLeadingInteger(text) == clamped);

  char* end = nullptr;
  errno = 0;
  const double expected = std::strtod(text.c_str(), &end);
  const bool range = errno == ERANGE;
  const std::string taken(text.data(), static_cast<std::size_t>(end - text.data()));
  if (taken.find_first_of("xXiInN") != std::string::npos) return 0;  // hex, inf, nan
  const double value = ReadLeadingDouble(text);
  if (range && std::fabs(expected) < DBL_MIN) {
    // Too small: zero, or what strtod gives below the normal range.
    FUZZ_CHECK(value == 0 || value == expected);
  } else {
    FUZZ_CHECK(value == expected && std::signbit(value) == std::signbit(expected));
  }
  return 0;
}
