#pragma once

#include <charconv>
#include <string>

namespace quillo {

// `value` with `decimals` digits after a point ("-3.45"), a plus sign in
// front of positive values with `sign`. Whatever the process's locale: the
// numbers go into tags and JSON that other programs read, and the window's
// toolkit takes the desktop's locale, whose printf may write a comma.
// A value that rounds to zero has no minus sign ("+0.00", never "-0.00").
inline std::string FixedText(double value, int decimals, bool sign = false) {
  char text[64];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return {};
  std::string digits(text, end);
  if (digits.front() == '-' && digits.find_first_not_of("-0.") == std::string::npos)
    digits.erase(0, 1);
  if (sign && digits.front() != '-') digits.insert(0, 1, '+');
  return digits;
}

}  // namespace quillo
