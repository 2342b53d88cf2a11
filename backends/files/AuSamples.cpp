#include "backends/files/AuSamples.h"

#include <bit>
#include <cmath>

namespace quillo {
namespace {

// The G.711 expansions of one 8-bit code to 16-bit linear PCM.
constexpr int kSignBit = 0x80;
constexpr int kQuantMask = 0x0F;
constexpr int kSegmentShift = 4;
constexpr int kSegmentMask = 0x70;
constexpr int kMuLawBias = 0x84;

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

template <AuByteOrder Order, int Bytes>
uint64_t Load(const uint8_t* p) {
  uint64_t value = 0;
  for (int i = 0; i < Bytes; ++i) {
    const int index = Order == AuByteOrder::Big ? i : Bytes - 1 - i;
    value = (value << 8) | p[index];
  }
  return value;
}

int16_t Linear8(const uint8_t* p) { return static_cast<int16_t>(static_cast<int8_t>(p[0]) * 256); }
int16_t MuLaw(const uint8_t* p) { return MuLawToLinear(p[0]); }
int16_t ALaw(const uint8_t* p) { return ALawToLinear(p[0]); }

// Linear samples of 16 bits and more keep their two most significant bytes.
template <AuByteOrder Order, int Bytes>
int16_t Linear(const uint8_t* p) {
  return static_cast<int16_t>(static_cast<uint16_t>(Load<Order, Bytes>(p) >> (8 * (Bytes - 2))));
}

template <AuByteOrder Order>
int16_t Float32(const uint8_t* p) {
  return AuFloatToPcm16(std::bit_cast<float>(static_cast<uint32_t>(Load<Order, 4>(p))));
}

template <AuByteOrder Order>
int16_t Float64(const uint8_t* p) {
  return AuFloatToPcm16(std::bit_cast<double>(Load<Order, 8>(p)));
}

// Integers aligned to the top of 32 bits, so that one scale fits every width.
template <AuByteOrder Order, int Bytes>
double WideLinear(const uint8_t* p) {
  const auto aligned = static_cast<uint32_t>(Load<Order, Bytes>(p) << (8 * (4 - Bytes)));
  return static_cast<int32_t>(aligned) / 2147483648.0;
}

template <AuByteOrder Order>
double WideFloat32(const uint8_t* p) {
  return std::bit_cast<float>(static_cast<uint32_t>(Load<Order, 4>(p)));
}

template <AuByteOrder Order>
double WideFloat64(const uint8_t* p) {
  return std::bit_cast<double>(Load<Order, 8>(p));
}

template <AuByteOrder Order>
AuWideConverter WideConverterFor(AuEncoding encoding) {
  switch (encoding) {
    case AuEncoding::Linear24:
      return WideLinear<Order, 3>;
    case AuEncoding::Linear32:
      return WideLinear<Order, 4>;
    case AuEncoding::Float:
      return WideFloat32<Order>;
    case AuEncoding::Double:
      return WideFloat64<Order>;
    default:
      return nullptr;
  }
}

template <AuByteOrder Order>
AuSampleConverter ConverterFor(AuEncoding encoding) {
  switch (encoding) {
    case AuEncoding::MuLaw:
      return MuLaw;
    case AuEncoding::ALaw:
      return ALaw;
    case AuEncoding::Linear8:
      return Linear8;
    case AuEncoding::Linear16:
      return Linear<Order, 2>;
    case AuEncoding::Linear24:
      return Linear<Order, 3>;
    case AuEncoding::Linear32:
      return Linear<Order, 4>;
    case AuEncoding::Float:
      return Float32<Order>;
    case AuEncoding::Double:
      return Float64<Order>;
    case AuEncoding::G721:
    case AuEncoding::G723_24:
    case AuEncoding::G723_40:
      break;
  }
  return nullptr;
}

}  // namespace

AuSampleConverter AuConverterFor(AuEncoding encoding, AuByteOrder order) {
  return order == AuByteOrder::Big ? ConverterFor<AuByteOrder::Big>(encoding)
                                   : ConverterFor<AuByteOrder::Little>(encoding);
}

AuWideConverter AuWideConverterFor(AuEncoding encoding, AuByteOrder order) {
  return order == AuByteOrder::Big ? WideConverterFor<AuByteOrder::Big>(encoding)
                                   : WideConverterFor<AuByteOrder::Little>(encoding);
}

SampleFormat AuSampleFormat(AuEncoding encoding) {
  switch (encoding) {
    case AuEncoding::Linear24:
      return {24, false};
    case AuEncoding::Linear32:
      return {32, false};
    case AuEncoding::Float:
      return {32, true};
    case AuEncoding::Double:
      return {64, true};
    default:
      return {};
  }
}

int16_t AuFloatToPcm16(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  // Clamp before converting: beyond the 32-bit range the conversion to an
  // integer would be undefined, and the top bits would wrap.
  const double scaled = std::fmax(-2147483648.0, std::fmin(2147483647.0, value * 2147483647.0));
  return static_cast<int16_t>(static_cast<int32_t>(scaled) >> 16);
}

}  // namespace quillo
