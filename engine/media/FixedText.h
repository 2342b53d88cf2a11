#pragma once

#include <charconv>
#include <string>

namespace quillo {

// `value` with `decimals` digits after a point ("-3.45"), a plus sign in
// front of positive values with `sign`. Whatever the process's locale: the
// numbers go into tags and JSON that other programs read, and the window's
// toolkit takes the desktop's locale, whose printf may write a comma.
inline std::string FixedText(double value, int decimals, bool sign = false) {
  char text[64];
  char* start = text;
  if (sign && value >= 0) *start++ = '+';
  const auto [end, error] =
      std::to_chars(start, text + sizeof text, value, std::chars_format::fixed, decimals);
  return error == std::errc() ? std::string(text, end) : std::string();
}

}  // namespace quillo
