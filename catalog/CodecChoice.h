#pragma once

#include <cstdint>
#include <span>

namespace quillo {

// Sample-rate and bit-rate lists are constant arrays in ascending order,
// ended by this marker.
inline constexpr int32_t kEndOfList = -1;

// Channel mask bits of a codec choice.
inline constexpr int32_t kMonoAllowed = 1;
inline constexpr int32_t kStereoAllowed = 2;

// One codec that an output format row allows. Constant data, shared between
// rows.
struct CodecChoice {
  int32_t codecId;
  const char* displayName;
  const int32_t* sampleRates;  // never null; ended by kEndOfList
  const int32_t* bitRates;     // null when the codec has no bit-rate choice
  int32_t channelMask;         // kMonoAllowed | kStereoAllowed
};

// The entries of a list ended by kEndOfList, without the marker; empty for a
// null list.
std::span<const int32_t> ListValues(const int32_t* list);

// The entry of an ascending, kEndOfList-ended list nearest to `value`: an
// equal entry is kept, a value below the first or above the last entry gives
// that end, otherwise the closer neighbour wins and the lower one on a tie.
// Without a list (null or empty) the value is kept.
int32_t NearestSupported(const int32_t* list, int32_t value);

}  // namespace quillo
