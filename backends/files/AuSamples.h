#pragma once

#include <cstdint>

#include "backends/files/AuHeader.h"

namespace quillo {

// Converts one stored sample (PCM, float or G.711) to 16-bit PCM.
using AuSampleConverter = int16_t (*)(const uint8_t* sample);

// The converter of a coding in a byte order; null for the ADPCM codings,
// which are decoded code by code instead.
AuSampleConverter AuConverterFor(AuEncoding encoding, AuByteOrder order);

// A float sample scaled to the 32-bit range, truncated, then its top 16
// bits; values beyond -1.0..1.0 are clamped to the 16-bit range and NaN
// gives silence.
int16_t AuFloatToPcm16(double value);

}  // namespace quillo
