// The AIFF reader's header rules: a table of damaged headers with the reason
// each is refused, and a table of unusual but valid files with what they
// deliver.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>

#include "backends/files/AiffHeader.h"
#include "backends/files/AiffSource.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& out, uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Put(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

// A chunk with its header; `declared` overrides the size field.
Bytes Chunk(std::string_view id, const Bytes& data, int64_t declared = -1) {
  Bytes out;
  Put(out, id);
  Put(out, declared >= 0 ? static_cast<uint64_t>(declared) : data.size(), 4);
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() % 2 != 0) out.push_back(0);
  return out;
}

// The 80-bit extended form of a positive rate.
Bytes Extended(double rate) {
  const int exponent = static_cast<int>(std::floor(std::log2(rate)));
  Bytes out;
  Put(out, static_cast<uint64_t>(exponent + 16383), 2);
  Put(out, static_cast<uint64_t>(std::ldexp(rate, 63 - exponent)), 8);
  return out;
}

// A COMM chunk's data; a compression type makes it the AIFF-C form.
Bytes Comm(int channels, uint32_t frames, int bits, const Bytes& rate,
           std::string_view compression = "") {
  Bytes out;
  Put(out, static_cast<uint64_t>(channels), 2);
  Put(out, frames, 4);
  Put(out, static_cast<uint64_t>(bits), 2);
  out.insert(out.end(), rate.begin(), rate.end());
  if (!compression.empty()) {
    Put(out, compression);
    Put(out, std::string_view("\0\0", 2));  // an empty name, padded
  }
  return out;
}

// An SSND chunk's data: offset, block size, then the sound.
Bytes Ssnd(const Bytes& sound, uint32_t offset = 0) {
  Bytes out;
  Put(out, offset, 4);
  Put(out, 0, 4);
  out.insert(out.end(), offset, 0xEE);
  out.insert(out.end(), sound.begin(), sound.end());
  return out;
}

Bytes Form(std::string_view type, std::initializer_list<Bytes> chunks) {
  Bytes body;
  Put(body, type);
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  Bytes out;
  Put(out, "FORM");
  Put(out, body.size(), 4);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes Aifc(std::string_view compression, int channels, int bits, const Bytes& sound) {
  return Form("AIFC", {Chunk("COMM", Comm(channels, 0, bits, Extended(8000), compression)),
                       Chunk("SSND", Ssnd(sound))});
}

bool Parse(const Bytes& file, AiffHeader& header, AiffHeaderError& error) {
  const AiffReadAt readAt = [&file](uint64_t offset, std::span<uint8_t> into) -> size_t {
    if (offset >= file.size()) return 0;
    const size_t count = std::min<size_t>(into.size(), file.size() - offset);
    std::copy_n(file.begin() + static_cast<ptrdiff_t>(offset), count, into.begin());
    return count;
  };
  return ParseAiffHeader(readAt, file.size(), header, error);
}

struct Malformed {
  const char* name;
  Bytes file;
  AiffHeaderError error;
};

std::vector<Malformed> MalformedFiles() {
  using E = AiffHeaderError;
  const Bytes rate = Extended(44100);
  const Bytes sound(64, 0x11);
  const Bytes ssnd = Chunk("SSND", Ssnd(sound));
  const Bytes comm16 = Chunk("COMM", Comm(1, 32, 16, rate));
  Bytes riff = Form("AIFF", {comm16, ssnd});
  std::copy_n("RIFF", 4, riff.begin());
  Bytes commCut = Form("AIFF", {ssnd, Chunk("COMM", Comm(1, 32, 16, rate))});
  commCut.resize(commCut.size() - 4);
  Bytes nan = rate;
  nan[0] = 0x7F;
  nan[1] = 0xFF;
  Bytes negative = rate;
  negative[0] |= 0x80;
  return {
      {"empty", {}, E::NotForm},
      {"riff", riff, E::NotForm},
      {"form_wave", Form("WAVE", {comm16, ssnd}), E::BadFormType},
      {"no_comm", Form("AIFF", {ssnd}), E::NoComm},
      {"no_ssnd", Form("AIFF", {comm16}), E::NoSsnd},
      // A chunk whose size runs past the end hides whatever follows.
      {"huge_chunk_first", Form("AIFF", {Chunk("junk", {1, 2}, 0xFFFFFFF0), comm16, ssnd}),
       E::NoComm},
      {"aiff_comm_22", Form("AIFF", {Chunk("COMM", Comm(1, 32, 16, rate, "NONE")), ssnd}),
       E::BadCommSize},
      {"aifc_comm_18", Form("AIFC", {comm16, ssnd}), E::BadCommSize},
      {"comm_cut_short", commCut, E::BadCommSize},
      {"ssnd_4_bytes", Form("AIFF", {comm16, Chunk("SSND", {0, 0, 0, 0})}), E::BadSsnd},
      // An offset of 256 in a chunk of 10 bytes.
      {"ssnd_offset_past_end",
       Form("AIFF", {comm16, Chunk("SSND", {0, 0, 1, 0, 0, 0, 0, 0, 9, 9})}), E::BadSsnd},
      {"compression_unknown", Aifc("MAC3", 1, 16, sound), E::BadCompression},
      {"pcm_0_bits", Form("AIFF", {Chunk("COMM", Comm(1, 32, 0, rate)), ssnd}), E::BadSampleSize},
      {"pcm_33_bits", Form("AIFF", {Chunk("COMM", Comm(1, 32, 33, rate)), ssnd}), E::BadSampleSize},
      {"dwvw_7_bits", Aifc("DWVW", 1, 7, sound), E::BadSampleSize},
      {"dwvw_25_bits", Aifc("DWVW", 1, 25, sound), E::BadSampleSize},
      {"gsm_3_channels", Aifc("GSM ", 3, 16, sound), E::BadChannels},
      {"rate_0", Form("AIFF", {Chunk("COMM", Comm(1, 32, 16, Bytes(10, 0))), ssnd}),
       E::BadSampleRate},
      {"rate_1_hz", Form("AIFF", {Chunk("COMM", Comm(1, 32, 16, Extended(1))), ssnd}),
       E::BadSampleRate},
      {"rate_nan", Form("AIFF", {Chunk("COMM", Comm(1, 32, 16, nan)), ssnd}), E::BadSampleRate},
      {"rate_negative", Form("AIFF", {Chunk("COMM", Comm(1, 32, 16, negative)), ssnd}),
       E::BadSampleRate},
      // 65535 channels of 32 bits: a block of 302 MB.
      {"block_too_large", Form("AIFF", {Chunk("COMM", Comm(65535, 1, 32, rate)), ssnd}),
       E::BlockTooLarge},
  };
}

class MalformedAiff : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedAiff, IsRefusedForItsReason) {
  const Malformed& m = GetParam();
  AiffHeader header;
  AiffHeaderError error = AiffHeaderError::None;
  EXPECT_EQ(Parse(m.file, header, error), m.error == AiffHeaderError::None);
  EXPECT_EQ(error, m.error);

  TempDir dir;
  const std::string path = dir.File("damaged.aiff");
  WriteFile(path, m.file);
  AiffSource source;
  EXPECT_EQ(source.Open(path, 0), m.error == AiffHeaderError::None);
  // The same object opens a good file afterwards.
  WriteFile(path, Form("AIFF", {Chunk("COMM", Comm(1, 2, 16, Extended(8000))),
                                Chunk("SSND", Ssnd({0x12, 0x34, 0x80, 0x00}))}));
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(ReadToEnd(source).samples, (std::vector<int16_t>{0x1234, -32768}));
}

std::string MalformedName(const testing::TestParamInfo<Malformed>& param) {
  return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedAiff, testing::ValuesIn(MalformedFiles()), MalformedName);

struct Valid {
  const char* name;
  Bytes file;
  int channels;
  int rate;
  std::vector<int16_t> samples;  // interleaved as delivered
};

Bytes Doubles(std::initializer_list<double> values, bool single) {
  Bytes out;
  for (double v : values) {
    if (single) {
      Put(out, std::bit_cast<uint32_t>(static_cast<float>(v)), 4);
    } else {
      Put(out, std::bit_cast<uint64_t>(v), 8);
    }
  }
  return out;
}

std::vector<Valid> ValidFiles() {
  const Bytes rate = Extended(8000);
  return {
      {"sowt_lower_case", Aifc("sowt", 1, 16, {0x34, 0x12, 0x00, 0x80}), 1, 8000, {0x1234, -32768}},
      {"twos_8_bit", Aifc("twos", 1, 8, {0x7F, 0x80}), 1, 8000, {32512, -32768}},
      {"raw_offset_binary", Aifc("raw ", 1, 8, {0x80, 0xFF, 0x00}), 1, 8000, {0, 32512, -32768}},
      {"fl32_full_scale_and_beyond",
       Aifc("fl32", 1, 32, Doubles({1.0, -1.0, 2.0, -3.0}, true)),
       1,
       8000,
       {32767, -32768, 32767, -32768}},
      {"fl64_full_scale_and_beyond",
       Aifc("FL64", 1, 64, Doubles({1.0, -1.0, 0.0, 9.0}, false)),
       1,
       8000,
       {32767, -32768, 0, 32767}},
      {"pcm_12_bit_in_two_bytes",
       Form("AIFF",
            {Chunk("COMM", Comm(2, 1, 12, rate)), Chunk("SSND", Ssnd({0x7F, 0xF0, 0x80, 0x10}))}),
       2,
       8000,
       {0x7FF0, -32752}},
      {"pcm_24_bit",
       Form("AIFF", {Chunk("COMM", Comm(1, 1, 24, rate)), Chunk("SSND", Ssnd({0xFF, 0xFE, 0x99}))}),
       1,
       8000,
       {-2}},
      // Three 8-bit samples: the chunk's pad byte is no fourth one, and the
      // walk goes on after it.
      {"ssnd_odd_size_with_pad",
       Form("AIFF", {Chunk("SSND", Ssnd({0x01, 0x02, 0x03})), Chunk("COMM", Comm(1, 3, 8, rate))}),
       1,
       8000,
       {256, 512, 768}},
      {"ssnd_offset",
       Form("AIFF", {Chunk("COMM", Comm(1, 1, 16, rate)), Chunk("SSND", Ssnd({0x01, 0x00}, 6))}),
       1,
       8000,
       {256}},
      // A chunk that claims more than the file holds delivers what is there.
      {"ssnd_cut_short",
       Form("AIFF", {Chunk("COMM", Comm(1, 9, 16, rate)),
                     Chunk("SSND", Ssnd({0x00, 0x01, 0x00, 0x02}), 100)}),
       1,
       8000,
       {1, 2}},
      {"channels_0_as_1",
       Form("AIFF", {Chunk("COMM", Comm(0, 1, 16, rate)), Chunk("SSND", Ssnd({0x00, 0x05}))}),
       1,
       8000,
       {5}},
      {"fractional_rate",
       Form("AIFF",
            {Chunk("COMM", Comm(1, 1, 16, Extended(22050.5))), Chunk("SSND", Ssnd({0x00, 0x05}))}),
       1,
       22050,
       {5}},
      {"three_channels_folded",
       Form("AIFF", {Chunk("COMM", Comm(3, 1, 16, rate)),
                     Chunk("SSND", Ssnd({0x10, 0x00, 0x00, 0x00, 0x10, 0x00}))}),
       2,
       8000,
       {4096 + 2895, 2895}},
  };
}

class ValidAiff : public testing::TestWithParam<Valid> {};

TEST_P(ValidAiff, DeliversItsSamples) {
  const Valid& v = GetParam();
  TempDir dir;
  const std::string path = dir.File("odd.aiff");
  WriteFile(path, v.file);
  AiffSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetChannels(), v.channels);
  EXPECT_EQ(source.GetSampleRate(), v.rate);
  EXPECT_EQ(ReadToEnd(source).samples, v.samples);
  EXPECT_EQ(source.Read(nullptr, nullptr), 0);
}

std::string ValidName(const testing::TestParamInfo<Valid>& param) { return param.param.name; }

INSTANTIATE_TEST_SUITE_P(Table, ValidAiff, testing::ValuesIn(ValidFiles()), ValidName);

// Length and rate of compressed data come from the data; a GSM frame the
// decoder refuses is skipped.
TEST(AiffSource, GsmLengthFromTheDataAndDamagedFramesSkipped) {
  // 100 frames of silence (a frame starts with the GSM signature nibble)
  // and, in the middle, one without it.
  Bytes sound;
  for (int f = 0; f < 101; ++f) {
    Bytes frame(33, 0);
    frame[0] = f == 50 ? 0x00 : 0xD0;
    sound.insert(sound.end(), frame.begin(), frame.end());
  }
  TempDir dir;
  const std::string path = dir.File("gsm.aifc");
  // COMM counts the frames as some writers do, not the samples.
  WriteFile(path, Form("AIFC", {Chunk("COMM", Comm(1, 101, 16, Extended(8000), "GSM ")),
                                Chunk("SSND", Ssnd(sound))}));
  AiffSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetDurationSeconds(), 2);  // 16,160 frames
  const SourceAudio got = ReadToEnd(source);
  EXPECT_EQ(got.samples.size(), 16000u);
  EXPECT_EQ(got.blocks.front(), 160);
}

// Properties and tags of an ordinary file; the ffmpeg program writes the
// tags into an "ID3 " chunk after the sound.
TEST(AiffSource, PropertiesAndId3Tags) {
  TempDir dir;
  for (const bool id3 : {true, false}) {
    SCOPED_TRACE(id3);
    const std::string path = dir.File(id3 ? "tagged.aiff" : "plain.aiff");
    ASSERT_EQ(test::Run("ffmpeg -nostdin -v error -y -f lavfi -i "
                        "'aevalsrc=sin(440*2*PI*t)|sin(660*2*PI*t):s=44100:d=10' "
                        "-c:a pcm_s16be -metadata title=Hello -metadata artist=Ann "
                        "-metadata track=7 -write_id3v2 " +
                        std::string(id3 ? "1 " : "0 ") + ShellQuote(path)),
              0);
    AiffSource source;
    ASSERT_TRUE(source.Open(path, 0));
    const auto fileSize = static_cast<uint64_t>(ReadFile(path).size());
    EXPECT_EQ(source.GetDurationSeconds(), 10);
    EXPECT_EQ(source.GetBitRateKbps(), static_cast<int>(fileSize / 1250));
    EXPECT_EQ(source.GetProgressTotal(), fileSize);
    TagInfo tags;
    EXPECT_EQ(source.ReadTags(tags), id3);
    EXPECT_EQ(tags.title, id3 ? "Hello" : "");
    EXPECT_EQ(tags.artist, id3 ? "Ann" : "");
    EXPECT_EQ(tags.track, id3 ? "7" : "");
    const SourceAudio got = ReadToEnd(source);
    EXPECT_EQ(got.samples.size(), 2u * 441000u);
    EXPECT_EQ(got.blocks.front(), kMaxBlockFrames);
    source.Close();
    EXPECT_FALSE(source.ReadTags(tags));
  }
}

}  // namespace
}  // namespace quillo::test
