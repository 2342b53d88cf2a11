#pragma once

#include <cstdint>

#include "backends/files/AuHeader.h"
#include "engine/media/SampleFormat.h"

namespace quillo {

// Converts one stored sample (PCM, float or G.711) to 16-bit PCM.
using AuSampleConverter = int16_t (*)(const uint8_t* sample);

// The converter of a coding in a byte order; null for the ADPCM codings,
// which are decoded code by code instead.
AuSampleConverter AuConverterFor(AuEncoding encoding, AuByteOrder order);

// Converts one stored sample of more than 16 bits, or float, to a double at
// full scale 1.0 that keeps every bit: an integer of b bits divided by
// 2^(b-1), a float as it is (beyond -1.0..1.0 too).
using AuWideConverter = double (*)(const uint8_t* sample);

// The wide converter of a coding of 24 or 32 bits, or float, in a byte
// order; null for the codings that fit in 16 bits.
AuWideConverter AuWideConverterFor(AuEncoding encoding, AuByteOrder order);
// The resolution of a coding: wide for 24- and 32-bit integers and float.
SampleFormat AuSampleFormat(AuEncoding encoding);

// A float sample scaled to the 32-bit range, truncated, then its top 16
// bits; values beyond -1.0..1.0 are clamped to the 16-bit range and NaN
// gives silence.
int16_t AuFloatToPcm16(double value);

}  // namespace quillo
