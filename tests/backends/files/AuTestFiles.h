#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace quillo::test {

// A 24-byte AU header with the given fields, in either byte order.
std::vector<uint8_t> AuHeaderBytes(bool bigEndian, uint32_t dataOffset, uint32_t dataSize,
                                   uint32_t encoding, uint32_t rate, uint32_t channels);
// A whole AU file: the header (data size filled in) followed by `data`.
std::vector<uint8_t> AuFile(bool bigEndian, uint32_t encoding, uint32_t rate, uint32_t channels,
                            const std::vector<uint8_t>& data);

// Writes interleaved samples with libsndfile in `format` (SF_FORMAT_AU | ...);
// float and double codings hold them as -1.0..1.0, as float files are meant to.
void WriteWithSndfile(const std::string& path, int format, int rate, int channels,
                      const std::vector<int16_t>& samples);
// Decodes a file with libsndfile to interleaved 16-bit samples.
DecodedAudio ReadWithSndfile(const std::string& path);

// A test signal: a sweep with noise on top, different on each channel,
// reaching near full scale.
std::vector<int16_t> TestSignal(int channels, int frames, uint32_t seed);

}  // namespace quillo::test
