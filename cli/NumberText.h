#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

namespace quillo {

// A whole non-negative number up to `max` (decimal, or hexadecimal with 0x).
inline bool ParseNumber(const std::string& text, long long max, int32_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long long parsed = std::strtoll(text.c_str(), &end, 0);
  if (*end != '\0' || parsed < 0 || parsed > max) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

}  // namespace quillo
