#include "backends/files/Ima4Decoder.h"

#include <algorithm>
#include <array>

namespace quillo {
namespace {

constexpr std::array<int, 89> kStepSizes = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr std::array<int, 16> kIndexChanges = {-1, -1, -1, -1, 2, 4, 6, 8,
                                               -1, -1, -1, -1, 2, 4, 6, 8};

constexpr int kMaxStepIndex = 88;

}  // namespace

void DecodeIma4Packet(const uint8_t* packet, int16_t* out, size_t stride) {
  // The header keeps the predictor's top nine bits; the low seven bits of
  // its second byte are the step index.
  int predictor = static_cast<int16_t>((packet[0] << 8) | (packet[1] & 0x80));
  int index = std::min(packet[1] & 0x7F, kMaxStepIndex);
  for (size_t i = 0; i < kIma4PacketSamples; ++i) {
    const uint8_t byte = packet[2 + i / 2];
    const int code = (i % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
    const int step = kStepSizes[static_cast<size_t>(index)];
    index = std::clamp(index + kIndexChanges[static_cast<size_t>(code)], 0, kMaxStepIndex);
    int diff = step >> 3;
    if (code & 1) diff += step >> 2;
    if (code & 2) diff += step >> 1;
    if (code & 4) diff += step;
    predictor = std::clamp(predictor + ((code & 8) ? -diff : diff), -32768, 32767);
    out[i * stride] = static_cast<int16_t>(predictor);
  }
}

}  // namespace quillo
