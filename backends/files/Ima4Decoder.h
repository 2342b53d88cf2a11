#pragma once

#include <cstddef>
#include <cstdint>

namespace quillo {

// The bytes of one IMA4 packet and the samples it holds.
inline constexpr size_t kIma4PacketBytes = 34;
inline constexpr size_t kIma4PacketSamples = 64;

// Decodes one 34-byte IMA4 packet (a two-byte header with the predictor and
// the step index, then 64 four-bit codes, low nibble first) into 64 samples,
// written `stride` samples apart so that packets of several channels
// interleave into frames.
void DecodeIma4Packet(const uint8_t* packet, int16_t* out, size_t stride);

}  // namespace quillo
