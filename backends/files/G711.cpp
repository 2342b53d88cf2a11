#include "backends/files/G711.h"

namespace quillo {
namespace {

constexpr int kSignBit = 0x80;
constexpr int kQuantMask = 0x0F;
constexpr int kSegmentShift = 4;
constexpr int kSegmentMask = 0x70;
constexpr int kMuLawBias = 0x84;

}  // namespace

int16_t MuLawToLinear(uint8_t code) {
  // Codes are stored inverted; the bias lets every segment share one shift.
  const int u = static_cast<uint8_t>(~code);
  int t = ((u & kQuantMask) << 3) + kMuLawBias;
  t <<= (u & kSegmentMask) >> kSegmentShift;
  return static_cast<int16_t>((u & kSignBit) ? (kMuLawBias - t) : (t - kMuLawBias));
}

int16_t ALawToLinear(uint8_t code) {
  // Even bits are stored inverted.
  const int a = code ^ 0x55;
  int t = (a & kQuantMask) << 4;
  const int segment = (a & kSegmentMask) >> kSegmentShift;
  if (segment == 0) {
    t += 8;
  } else {
    t += 0x108;
    t <<= segment - 1;
  }
  return static_cast<int16_t>((a & kSignBit) ? t : -t);
}

}  // namespace quillo
