// The AIFF reader's header rules: damaged headers with the reason each is
// refused, unusual but valid files with what they deliver, damaged GSM
// frames, and the tags of an "ID3 " chunk.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>

#include "backends/files/AiffHeader.h"
#include "backends/files/AiffSource.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Be(uint64_t value, int bytes) {
  Bytes out;
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  return out;
}
Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// A chunk with its pad byte; `declared` overrides the size field.
Bytes Chunk(std::string_view id, Bytes data, int64_t declared = -1) {
  const uint64_t size = declared >= 0 ? static_cast<uint64_t>(declared) : data.size();
  if (data.size() % 2 != 0) data.push_back(0);
  return Cat({Text(id), Be(size, 4), data});
}
// The 80-bit extended form of a positive rate.
Bytes Extended(double rate) {
  const int exponent = static_cast<int>(std::floor(std::log2(rate)));
  return Cat({Be(static_cast<uint64_t>(exponent + 16383), 2),
              Be(static_cast<uint64_t>(std::ldexp(rate, 63 - exponent)), 8)});
}
// COMM; a compression type (with an empty name) makes it the AIFF-C form.
Bytes Comm(int channels, int bits, const Bytes& rate, std::string_view type = "") {
  return Chunk("COMM", Cat({Be(static_cast<uint64_t>(channels), 2), Be(1, 4),
                            Be(static_cast<uint64_t>(bits), 2), rate,
                            type.empty() ? Bytes() : Cat({Text(type), Bytes(2, 0)})}));
}
// SSND: offset, block size, `offset` filler bytes, the sound.
Bytes Ssnd(const Bytes& sound, uint32_t offset = 0, int64_t declared = -1) {
  return Chunk("SSND", Cat({Be(offset, 4), Be(0, 4), Bytes(offset, 0xEE), sound}), declared);
}
Bytes Form(std::string_view type, std::initializer_list<Bytes> chunks) {
  const Bytes body = Cat({Text(type), Cat(chunks)});
  return Cat({Text("FORM"), Be(body.size(), 4), body});
}
Bytes Aifc(std::string_view type, int channels, int bits, const Bytes& sound) {
  return Form("AIFC", {Comm(channels, bits, Extended(8000), type), Ssnd(sound)});
}

struct Malformed {
  const char* name;
  Bytes file;
  AiffHeaderError error;
};

std::vector<Malformed> MalformedFiles() {
  using E = AiffHeaderError;
  const Bytes rate = Extended(44100);
  const Bytes comm = Comm(1, 16, rate);
  const Bytes ssnd = Ssnd(Bytes(64, 0x11));
  Bytes commCut = Form("AIFF", {ssnd, comm});
  commCut.resize(commCut.size() - 4);
  const auto pcm = [&](int channels, int bits, const Bytes& r) {
    return Form("AIFF", {Comm(channels, bits, r), ssnd});
  };
  return {
      {"empty", {}, E::NotForm},
      {"riff", Cat({Text("RIFF"), Form("AIFF", {comm, ssnd})}), E::NotForm},
      {"form_wave", Form("WAVE", {comm, ssnd}), E::BadFormType},
      {"no_comm", Form("AIFF", {ssnd}), E::NoComm},
      {"no_ssnd", Form("AIFF", {comm}), E::NoSsnd},
      // A chunk whose size runs past the end hides whatever follows.
      {"huge_chunk_first", Form("AIFF", {Chunk("junk", {1, 2}, 0xFFFFFFF0), comm, ssnd}),
       E::NoComm},
      {"aiff_comm_22", Form("AIFF", {Comm(1, 16, rate, "NONE"), ssnd}), E::BadCommSize},
      {"aifc_comm_18", Form("AIFC", {comm, ssnd}), E::BadCommSize},
      {"comm_cut_short", commCut, E::BadCommSize},
      {"ssnd_4_bytes", Form("AIFF", {comm, Chunk("SSND", Bytes(4, 0))}), E::BadSsnd},
      {"ssnd_offset_past_end", Form("AIFF", {comm, Ssnd({9, 9}, 256, 10)}), E::BadSsnd},
      {"compression_unknown", Aifc("MAC3", 1, 16, Bytes(64, 0)), E::BadCompression},
      {"pcm_0_bits", pcm(1, 0, rate), E::BadSampleSize},
      {"pcm_33_bits", pcm(1, 33, rate), E::BadSampleSize},
      {"dwvw_7_bits", Aifc("DWVW", 1, 7, Bytes(64, 0)), E::BadSampleSize},
      {"dwvw_25_bits", Aifc("DWVW", 1, 25, Bytes(64, 0)), E::BadSampleSize},
      {"gsm_3_channels", Aifc("GSM ", 3, 16, Bytes(64, 0)), E::BadChannels},
      {"rate_0", pcm(1, 16, Bytes(10, 0)), E::BadSampleRate},
      {"rate_1_hz", pcm(1, 16, Extended(1)), E::BadSampleRate},
      {"rate_infinite", pcm(1, 16, Cat({Be(0x7FFF, 2), Be(1ull << 63, 8)})), E::BadSampleRate},
      {"rate_negative", pcm(1, 16, Cat({Be(0xC00E, 2), Be(0xAC44ull << 48, 8)})), E::BadSampleRate},
      // 65535 channels of 32 bits: a block of 302 MB.
      {"block_too_large", pcm(65535, 32, rate), E::BlockTooLarge},
  };
}

class MalformedAiff : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedAiff, IsRefusedForItsReason) {
  const Bytes& file = GetParam().file;
  const AiffReadAt readAt = [&file](uint64_t offset, std::span<uint8_t> into) -> size_t {
    const size_t count = offset < file.size() ? std::min(into.size(), file.size() - offset) : 0;
    std::copy_n(file.begin() + static_cast<ptrdiff_t>(offset), count, into.begin());
    return count;
  };
  AiffHeader header;
  AiffHeaderError error = AiffHeaderError::None;
  EXPECT_FALSE(ParseAiffHeader(readAt, file.size(), header, error));
  EXPECT_EQ(error, GetParam().error);

  TempDir dir;
  const std::string path = dir.File("damaged.aiff");
  WriteFile(path, file);
  AiffSource source;
  EXPECT_FALSE(source.Open(path, 0));
  // The same object opens a good file afterwards.
  WriteFile(path, Form("AIFF", {Comm(1, 16, Extended(8000)), Ssnd({0x12, 0x34, 0x80, 0})}));
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(ReadAll(source).samples, (std::vector<int16_t>{0x1234, -32768}));
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedAiff, testing::ValuesIn(MalformedFiles()),
                         [](const testing::TestParamInfo<Malformed>& param) {
                           return std::string(param.param.name);
                         });

Bytes Floats(std::initializer_list<double> values, bool single) {
  Bytes out;
  for (double v : values)
    out = Cat({out, single ? Be(std::bit_cast<uint32_t>(static_cast<float>(v)), 4)
                           : Be(std::bit_cast<uint64_t>(v), 8)});
  return out;
}

TEST(AiffSource, UnusualButValidFilesDeliverTheirSamples) {
  const Bytes rate = Extended(8000);
  const struct {
    const char* name;
    int channels, rate;
    std::vector<int16_t> samples;  // interleaved as delivered
    Bytes file;
  } cases[] = {
      // clang-format off
      {"sowt_lower_case_fractional_rate", 1, 22050, {0x1234, -32768},
       Form("AIFC", {Comm(1, 16, Extended(22050.5), "sowt"), Ssnd({0x34, 0x12, 0x00, 0x80})})},
      {"raw_offset_binary", 1, 8000, {0, 32512, -32768}, Aifc("raw ", 1, 8, {0x80, 0xFF, 0x00})},
      {"fl32_full_scale_and_beyond", 1, 8000, {32767, -32768, 32767, -32768},
       Aifc("fl32", 1, 32, Floats({1, -1, 2, -3}, true))},
      {"fl64_full_scale_and_beyond", 1, 8000, {32767, -32768, 0, 32767},
       Aifc("FL64", 1, 64, Floats({1, -1, 0, 9}, false))},
      {"pcm_12_bit_stereo", 2, 8000, {0x7FF0, -32752},
       Form("AIFF", {Comm(2, 12, rate), Ssnd({0x7F, 0xF0, 0x80, 0x10})})},
      {"channels_0_as_1", 1, 8000, {5}, Form("AIFF", {Comm(0, 16, rate), Ssnd({0x00, 0x05})})},
      // Three 8-bit samples: the pad byte is no fourth one, and the walk
      // finds COMM after it.
      {"ssnd_odd_size_first", 1, 8000, {256, 512, 768},
       Form("AIFF", {Ssnd({1, 2, 3}), Comm(1, 8, rate)})},
      {"ssnd_offset", 1, 8000, {256}, Form("AIFF", {Comm(1, 16, rate), Ssnd({0x01, 0x00}, 6)})},
      // A chunk that claims more than the file holds delivers what is there.
      {"ssnd_cut_short", 1, 8000, {1, 2},
       Form("AIFF", {Comm(1, 16, rate), Ssnd({0, 1, 0, 2}, 0, 100)})},
      // clang-format on
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File("odd.aiff");
    WriteFile(path, c.file);
    AiffSource source;
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetChannels(), c.channels);
    EXPECT_EQ(source.GetSampleRate(), c.rate);
    EXPECT_EQ(ReadAll(source).samples, c.samples);
  }
}

// The length of GSM comes from the data, not from a COMM that counts frames
// as some writers do; a frame the decoder refuses is skipped.
TEST(AiffSource, GsmLengthFromTheDataAndDamagedFramesSkipped) {
  Bytes sound;
  for (int f = 0; f < 101; ++f) {
    sound.push_back(f == 50 ? 0x00 : 0xD0);  // the GSM signature, except once
    sound.insert(sound.end(), 32, 0);
  }
  TempDir dir;
  const std::string path = dir.File("gsm.aifc");
  WriteFile(path, Aifc("GSM ", 1, 16, sound));
  AiffSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetDurationSeconds(), 2);
  const Decoded got = ReadAll(source);
  EXPECT_EQ(got.samples.size(), 16000u);
  EXPECT_EQ(got.blocks.front(), 160);
}

// The ffmpeg program writes tags into an "ID3 " chunk after the sound.
TEST(AiffSource, PropertiesAndId3Tags) {
  TempDir dir;
  for (const bool id3 : {true, false}) {
    SCOPED_TRACE(id3);
    const std::string path = dir.File(id3 ? "tagged.aiff" : "plain.aiff");
    ASSERT_EQ(test::Run("ffmpeg -nostdin -v error -y -f lavfi -i sine=r=44100:d=10 -ac 2 "
                        "-c:a pcm_s16be -metadata title=Hello -metadata track=7 -write_id3v2 " +
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
    EXPECT_EQ(tags.title + "/" + tags.track, id3 ? "Hello/7" : "/");
    const Decoded got = ReadAll(source);
    EXPECT_EQ(got.samples.size(), 2u * 441000u);
    EXPECT_EQ(got.blocks.front(), kMaxBlockFrames);
    source.Close();
    EXPECT_FALSE(source.ReadTags(tags));
  }
}

}  // namespace
}  // namespace quillo::test
