#pragma once

#include <string>
#include <string_view>

namespace quillo {

// Upper and lower case of the ASCII letters only: extensions, codec names and
// chunk ids are ASCII, and the locale's rules must not reach other bytes of a
// UTF-8 name. The catalog, the settings and the engine all compare such names.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

inline std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

}  // namespace quillo
