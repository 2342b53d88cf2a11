#include "catalog/CodecChoice.h"

#include <cstddef>
#include <cstdint>

namespace quillo {

std::span<const int32_t> ListValues(const int32_t* list) {
  if (list == nullptr) return {};
  std::size_t count = 0;
  while (list[count] != kEndOfList) ++count;
  return {list, count};
}

int32_t NearestSupported(const int32_t* list, int32_t value) {
  const std::span<const int32_t> values = ListValues(list);
  if (values.empty()) return value;
  if (value <= values.front()) return values.front();
  if (value >= values.back()) return values.back();
  for (std::size_t i = 1; i < values.size(); ++i) {
    if (value > values[i]) continue;
    if (value == values[i]) return value;
    // value lies strictly between values[i - 1] and values[i]; widen to 64 bits
    // so that no distance can overflow.
    const int64_t below = int64_t{value} - values[i - 1];
    const int64_t above = int64_t{values[i]} - value;
    return above < below ? values[i] : values[i - 1];
  }
  return values.back();
}

}  // namespace quillo
