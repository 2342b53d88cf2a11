#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillo {

// A whole number from `min` to `max` written in decimal digits only, with a
// leading '-' for a negative one: "010" is ten, and "0x10", "1e3", "12abc",
// " 12", "+3" and "" are not numbers. False, leaving `value`, otherwise.
inline bool ParseDecimal(std::string_view text, long long min, long long max, int32_t& value) {
  const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  long long parsed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, 10);
  if (ec != std::errc() || end != text.data() + text.size() || parsed < min || parsed > max)
    return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

// The refusal of a bad number for `option` ("--volume"): its range, and the
// value as given.
inline std::string NumberRangeError(std::string_view option, long long min, long long max,
                                    const std::string& value, std::string_view words = "") {
  return std::string(option) + " takes " + std::string(words) + "a whole number from " +
         std::to_string(min) + " to " + std::to_string(max) + ", not \"" + value + "\"";
}

}  // namespace quillo
