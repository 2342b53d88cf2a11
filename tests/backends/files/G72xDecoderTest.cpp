// The G.721 and G.723 decoders against libsndfile, and the AU reader's
// unpacking of their codes.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>

#include "backends/files/AuSource.h"
#include "backends/files/G721Decoder.h"
#include "backends/files/G723Decoder.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

struct AdpcmCoding {
  const char* name;
  uint32_t encoding;
  int subformat;
  int bits;
};

const AdpcmCoding kAdpcm[] = {
    {"g721_32", 23, SF_FORMAT_G721_32, 4},
    {"g723_24", 25, SF_FORMAT_G723_24, 3},
    {"g723_40", 26, SF_FORMAT_G723_40, 5},
};

// Every whole code of the data, least significant bit first.
std::vector<int> UnpackCodes(const std::vector<uint8_t>& data, int bits) {
  std::vector<int> codes;
  const size_t count = data.size() * 8 / static_cast<size_t>(bits);
  for (size_t i = 0; i < count; ++i) {
    int code = 0;
    for (int b = 0; b < bits; ++b) {
      const size_t bit = i * static_cast<size_t>(bits) + static_cast<size_t>(b);
      code |= ((data[bit / 8] >> (bit % 8)) & 1) << b;
    }
    codes.push_back(code);
  }
  return codes;
}

std::vector<int16_t> DecodeCodes(const std::vector<int>& codes, uint32_t encoding, int rounding) {
  G72xState state;
  state.productRounding = rounding;
  std::vector<int16_t> out;
  for (int code : codes) {
    switch (encoding) {
      case 23:
        out.push_back(G721Decode(code, state));
        break;
      case 25:
        out.push_back(G723Decode24(code, state));
        break;
      default:
        out.push_back(G723Decode40(code, state));
        break;
    }
  }
  return out;
}

// The sound data of a big-endian AU file.
std::vector<uint8_t> AuData(const std::string& path) {
  const std::vector<uint8_t> file = ReadFile(path);
  const auto field = [&](size_t at) {
    return uint32_t{file.at(at)} << 24 | uint32_t{file.at(at + 1)} << 16 |
           uint32_t{file.at(at + 2)} << 8 | uint32_t{file.at(at + 3)};
  };
  const size_t offset = field(4);
  const size_t size = std::min<size_t>(field(8), file.size() - offset);
  return {file.begin() + static_cast<std::ptrdiff_t>(offset),
          file.begin() + static_cast<std::ptrdiff_t>(offset + size)};
}

std::vector<uint8_t> RandomCodeBytes(uint32_t seed, int bits) {
  std::mt19937 random(seed);
  std::vector<uint8_t> data(static_cast<size_t>(bits) * 4000);  // a whole number of codes
  for (uint8_t& byte : data) {
    byte = static_cast<uint8_t>(random());
  }
  // Stretches of one repeated byte make long tones and silences, which
  // drive the tone detector and the predictor limits.
  std::fill(data.begin() + 3000, data.begin() + 6000, uint8_t{0x77});
  std::fill(data.begin() + 9000, data.begin() + 11000, uint8_t{0xFF});
  return data;
}

double Rms(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<double>(a[i]) - (b.empty() ? 0.0 : b[i]);
    sum += d * d;
  }
  return std::sqrt(sum / static_cast<double>(a.size()));
}

class G72xCoding : public testing::TestWithParam<AdpcmCoding> {};

// libsndfile leaves out the standard's rounding of the predictor products;
// with the same setting every code must decode to libsndfile's sample, which
// checks the tables, the adaptation and the predictor bit for bit.
TEST_P(G72xCoding, MatchesSndfileSampleExactWithItsRounding) {
  const AdpcmCoding& c = GetParam();
  TempDir dir;
  const std::string encoded = dir.File("encoded.au");
  WriteWithSndfile(encoded, SF_FORMAT_AU | c.subformat, 8000, 1, TestSignal(1, 20000, 3));
  const std::string random = dir.File("random.au");
  WriteFile(random, AuFile(true, c.encoding, 8000, 1, RandomCodeBytes(c.encoding, c.bits)));

  for (const std::string& path : {encoded, random}) {
    const std::vector<int> codes = UnpackCodes(AuData(path), c.bits);
    const std::vector<int16_t> ours = DecodeCodes(codes, c.encoding, 0);
    const DecodedAudio theirs = ReadWithSndfile(path);
    // libsndfile may add samples for the padding of its last block.
    ASSERT_LE(ours.size(), theirs.samples.size()) << path;
    // Where the signal overshoots 16 bits libsndfile lets it wrap and we
    // clamp; every other sample, and so the whole decoder state, must match.
    size_t clamped = 0;
    for (size_t i = 0; i < ours.size(); ++i) {
      if (ours[i] == 32767 || ours[i] == -32768) {
        ++clamped;
        continue;
      }
      ASSERT_EQ(ours[i], theirs.samples[i]) << path << " sample " << i;
    }
    EXPECT_LT(clamped, ours.size() / 2) << path;
  }
}

// The reader decodes as libsndfile does, one decoder state for the whole
// file across blocks.
TEST_P(G72xCoding, ReaderDecodesLikeOneDecoderOverTheWholeFile) {
  const AdpcmCoding& c = GetParam();
  TempDir dir;
  const std::string path = dir.File("encoded.au");
  const int frames = 5 * kMaxBlockFrames + 333;
  const std::vector<int16_t> signal = TestSignal(1, frames, 11);
  WriteWithSndfile(path, SF_FORMAT_AU | c.subformat, 16000, 1, signal);
  const std::vector<int> codes = UnpackCodes(AuData(path), c.bits);

  AuSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetChannels(), 1);
  EXPECT_EQ(source.GetSampleRate(), 16000);
  const Decoded got = ReadAll(source);
  EXPECT_EQ(got.samples, DecodeCodes(codes, c.encoding, 0));
  ASSERT_GE(got.samples.size(), static_cast<size_t>(frames));
  EXPECT_EQ(got.ShortBlocks(), 0);  // every block but the last is full
}

INSTANTIATE_TEST_SUITE_P(Codings, G72xCoding, testing::ValuesIn(kAdpcm),
                         [](const auto& param) { return std::string(param.param.name); });

// FFmpeg's G.726 encoder follows the standard, rounding included: with the
// rounding its 32 and 24 kbit/s output (the G.721 and G.723 codings) decodes
// close to the original signal, and clearly closer than without it. This
// checks the decoder's standard mode, which the reader does not use.
TEST(AuAdpcm, StandardEncoderOutputDecodesClosely) {
  TempDir dir;
  const std::string wav = dir.File("sine.wav");
  // No dither (-D) and a fixed seed (-R): every run encodes the same samples.
  ASSERT_EQ(
      test::Run("sox -R -D -n -r 8000 -c 1 -b 16 " + ShellQuote(wav) + " synth 2 sine 440 vol 0.5"),
      0);
  const std::vector<int16_t> original = DecodeWithFfmpeg(wav);
  ASSERT_EQ(original.size(), 16000u);
  const std::vector<int16_t> reference(original.begin(), original.end() - 8);
  for (const auto& [rate, encoding, bits] : {std::tuple<const char*, uint8_t, int>{"32k", 23, 4},
                                             std::tuple<const char*, uint8_t, int>{"24k", 25, 3}}) {
    const std::string au = dir.File(std::string("g726_") + rate + ".au");
    ASSERT_EQ(test::Run("ffmpeg -v error -y -i " + ShellQuote(wav) + " -c:a adpcm_g726le -b:a " +
                        rate + " " + ShellQuote(au)),
              0);
    // FFmpeg labels every rate as the 32 kbit/s coding; put in the right one.
    std::vector<uint8_t> bytes = ReadFile(au);
    ASSERT_GT(bytes.size(), 24u);
    bytes[15] = encoding;
    WriteFile(au, bytes);

    std::vector<int16_t> decoded = DecodeCodes(UnpackCodes(AuData(au), bits), encoding, 0x30);
    std::vector<int16_t> unrounded = DecodeCodes(UnpackCodes(AuData(au), bits), encoding, 0);
    ASSERT_GE(decoded.size(), reference.size()) << rate;
    decoded.resize(reference.size());
    unrounded.resize(reference.size());
    const double error = Rms(decoded, reference);
    EXPECT_LT(error, 0.06 * Rms(reference, {})) << rate;
    EXPECT_LT(error, 0.5 * Rms(unrounded, reference)) << rate;
  }
}

TEST(AuAdpcm, StereoCodesAlternateThroughOneState) {
  const std::vector<uint8_t> data = RandomCodeBytes(5, 4);
  TempDir dir;
  const std::string path = dir.File("stereo.au");
  WriteFile(path, AuFile(true, 23, 8000, 2, data));
  AuSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetChannels(), 2);
  const Decoded got = ReadAll(source);
  EXPECT_EQ(got.samples, DecodeCodes(UnpackCodes(data, 4), 23, 0));
}

TEST(AuAdpcm, MoreThanTwoChannelsAreLeftToTheFramework) {
  TempDir dir;
  const std::string path = dir.File("three.au");
  WriteFile(path, AuFile(true, 23, 8000, 3, RandomCodeBytes(6, 4)));
  AuSource source;
  EXPECT_FALSE(source.Open(path, 0));
}

}  // namespace
}  // namespace quillo::test
