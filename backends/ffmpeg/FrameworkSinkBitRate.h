#pragma once

#include <cstdint>

namespace quillo {

// What the encoder is opened with for a stored codec id.
struct EncoderRate {
  int64_t bitRate = 0;   // 0 = the encoder's default
  int codeWordBits = 0;  // G.726 only: bits per code word (2..5)
};

// The bit rate rules of the sink: PCM, companded and ADPCM codecs get their
// natural rate (bits per sample x channels x rate); G.726 takes the
// configured value as bits per code word (2..5, anything else means 4); GSM
// always runs at 13000 bit/s; FLAC and WavPack keep the encoder's default;
// Opus gets the configured bit rate up to 256 kbit/s per channel; every other
// codec gets the configured bit rate.
EncoderRate EncoderRateFor(int32_t storedCodecId, int configuredBitRate, int sampleRate,
                           int channels);

}  // namespace quillo
