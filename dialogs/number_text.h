#pragma once

// The numbers that the dialogs read from their edit fields. Both readers take
// the longest prefix that fits, ignore the rest, and give 0 when no digits
// come first; the C locale's white space is skipped at the start, and the
// point is the decimal separator whatever the user's locale says.

#include <string_view>

namespace kelvora {

// Optional sign, then decimal digits. A number beyond the range of int gives
// the nearest end of that range, however many digits it has.
int ReadLeadingInteger(std::string_view text);

// Optional sign, digits with an optional point, then an optional exponent
// ("e" or "E", optional sign, digits). "inf", "nan" and hexadecimal are not
// numbers here. Too large a value gives an infinity, too small a zero.
double ReadLeadingDouble(std::string_view text);

}  // namespace kelvora
