// The sink's pure pieces: stored codec ids, bit-rate rules, sample packing,
// tag text checks and the AMR-NB mode choice.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "backends/amr/AmrNbEncoder.h"
#include "backends/ffmpeg/CodecIdMap.h"
#include "backends/ffmpeg/FrameworkSinkBitRate.h"
#include "backends/ffmpeg/FrameworkSinkSamples.h"
#include "backends/ffmpeg/FrameworkSinkTags.h"
#include "catalog/Catalog.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace quillo {
namespace {

TEST(CodecIdMapTest, MovedIdsMapToTodaysCodecs) {
  EXPECT_EQ(CodecIdFromStored(0x1500E), AV_CODEC_ID_FLAC);
  EXPECT_EQ(CodecIdFromStored(0x15012), AV_CODEC_ID_ALAC);  // today's GSM number
  EXPECT_EQ(CodecIdFromStored(0x15014), AV_CODEC_ID_GSM);
  EXPECT_EQ(CodecIdFromStored(0x15020), AV_CODEC_ID_GSM_MS);
  EXPECT_EQ(CodecIdFromStored(0x15001), AV_CODEC_ID_MP3);
  EXPECT_EQ(CodecIdFromStored(0x1000C), AV_CODEC_ID_PCM_S24LE);
  EXPECT_EQ(CodecIdFromStored(0x12000), AV_CODEC_ID_AMR_NB);
  EXPECT_EQ(CodecIdFromStored(0x1100B), AV_CODEC_ID_ADPCM_G726);
  EXPECT_EQ(CodecIdFromStored(0x15010), AV_CODEC_ID_NONE);  // not a catalog id
  EXPECT_EQ(CodecIdFromStored(0), AV_CODEC_ID_NONE);
}

TEST(CodecIdMapTest, EveryCatalogChoiceHasAnEncoder) {
  int checked = 0;
  for (const OutputFormat& row : BuildCatalog()) {
    for (const CodecChoice* choice : row.codecChoices) {
      const AVCodecID id = CodecIdFromStored(choice->codecId);
      ASSERT_NE(id, AV_CODEC_ID_NONE) << std::hex << choice->codecId;
      // AMR-NB is encoded with opencore, not through libavcodec.
      if (id != AV_CODEC_ID_AMR_NB) {
        EXPECT_NE(avcodec_find_encoder(id), nullptr) << avcodec_get_name(id);
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 60);
}

TEST(EncoderRateTest, FollowsTheCodecRules) {
  // PCM and ADPCM: bits per sample x channels x rate, whatever was configured.
  EXPECT_EQ(EncoderRateFor(0x10000, 128000, 44100, 2).bitRate, 16 * 2 * 44100);
  EXPECT_EQ(EncoderRateFor(0x10005, 0, 22050, 1).bitRate, 8 * 22050);
  EXPECT_EQ(EncoderRateFor(0x1000D, 0, 48000, 2).bitRate, 24 * 2 * 48000);
  EXPECT_EQ(EncoderRateFor(0x11006, 64000, 8000, 1).bitRate, 4 * 8000);
  // G.726: bits per code word, 4 unless 2..5.
  EXPECT_EQ(EncoderRateFor(0x1100B, 8, 8000, 1).codeWordBits, 4);
  EXPECT_EQ(EncoderRateFor(0x1100B, 8, 8000, 1).bitRate, 32000);
  EXPECT_EQ(EncoderRateFor(0x1100B, 3, 8000, 1).bitRate, 24000);
  EXPECT_EQ(EncoderRateFor(0x1100B, 1, 8000, 1).codeWordBits, 4);
  EXPECT_EQ(EncoderRateFor(0x1100B, 5, 16000, 1).bitRate, 80000);
  // GSM always 13000; FLAC the encoder's default; others as configured.
  EXPECT_EQ(EncoderRateFor(0x15014, 128000, 8000, 1).bitRate, 13000);
  EXPECT_EQ(EncoderRateFor(0x15020, 0, 8000, 1).bitRate, 13000);
  EXPECT_EQ(EncoderRateFor(0x1500E, 128000, 44100, 2).bitRate, 0);
  EXPECT_EQ(EncoderRateFor(0x15012, 0, 44100, 2).bitRate, 0);  // ALAC, not GSM
  EXPECT_EQ(EncoderRateFor(0x15001, 192000, 44100, 2).bitRate, 192000);
}

// Every 16-bit value, through every sample format, packed and planar.
TEST(SampleConversionTest, EveryValueInEveryFormat) {
  std::vector<int16_t> left(65536), right(65536);
  for (int i = 0; i < 65536; ++i) {
    left[i] = static_cast<int16_t>(i - 32768);
    right[i] = static_cast<int16_t>(32767 - i);
  }
  auto check = [&](AVSampleFormat format, auto expected) {
    using T = decltype(expected(int16_t{}));
    ASSERT_TRUE(CanPutSamples(format)) << av_get_sample_fmt_name(format);
    const bool planar = av_sample_fmt_is_planar(format);
    std::vector<T> a(2 * 65536 + 2), b(65536 + 1);
    uint8_t* data[2] = {reinterpret_cast<uint8_t*>(a.data()), reinterpret_cast<uint8_t*>(b.data())};
    // Offset 1 checks that the samples land after what is already there.
    PutSamples(left.data(), right.data(), 65536, 2, format, data, 1);
    for (int i = 0; i < 65536; ++i) {
      const T gotLeft = planar ? a[1 + i] : a[2 + 2 * i];
      const T gotRight = planar ? b[1 + i] : a[3 + 2 * i];
      ASSERT_EQ(gotLeft, expected(left[i])) << av_get_sample_fmt_name(format) << " " << left[i];
      ASSERT_EQ(gotRight, expected(right[i])) << av_get_sample_fmt_name(format) << " " << right[i];
    }
  };
  auto u8 = [](int16_t s) { return static_cast<uint8_t>((s >> 8) ^ 0x80); };
  auto s16 = [](int16_t s) { return s; };
  auto s32 = [](int16_t s) { return static_cast<int32_t>(s) << 16; };
  auto flt = [](int16_t s) { return static_cast<float>(s) / 32768.0f; };
  auto dbl = [](int16_t s) { return s / 32768.0; };
  for (AVSampleFormat f : {AV_SAMPLE_FMT_U8, AV_SAMPLE_FMT_U8P}) check(f, u8);
  for (AVSampleFormat f : {AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_S16P}) check(f, s16);
  for (AVSampleFormat f : {AV_SAMPLE_FMT_S32, AV_SAMPLE_FMT_S32P}) check(f, s32);
  for (AVSampleFormat f : {AV_SAMPLE_FMT_FLT, AV_SAMPLE_FMT_FLTP}) check(f, flt);
  for (AVSampleFormat f : {AV_SAMPLE_FMT_DBL, AV_SAMPLE_FMT_DBLP}) check(f, dbl);
  EXPECT_FALSE(CanPutSamples(AV_SAMPLE_FMT_NONE));
}

TEST(SampleConversionTest, MonoReadsOnlyTheLeftBuffer) {
  const int16_t left[3] = {-32768, 0, 32767};
  int16_t out[3] = {};
  uint8_t* data[1] = {reinterpret_cast<uint8_t*>(out)};
  PutSamples(left, nullptr, 3, 1, AV_SAMPLE_FMT_S16, data, 0);
  EXPECT_EQ(std::memcmp(left, out, sizeof out), 0);
}

// Sample `i` of a packed buffer in `format`, as a number.
double SampleAt(AVSampleFormat format, const std::vector<uint8_t>& buffer, int i) {
  const auto at = [&](auto sample) {
    std::memcpy(&sample, buffer.data() + i * sizeof sample, sizeof sample);
    return static_cast<double>(sample);
  };
  switch (format) {
    case AV_SAMPLE_FMT_U8:
      return at(uint8_t{});
    case AV_SAMPLE_FMT_S16:
      return at(int16_t{});
    case AV_SAMPLE_FMT_S32:
      return at(int32_t{});
    case AV_SAMPLE_FMT_S64:
      return at(int64_t{});
    case AV_SAMPLE_FMT_FLT:
      return at(float{});
    default:
      return at(double{});
  }
}

// Wide samples: floats as they are, beyond full scale too; integers rounded to
// their significant bits in the top of the sample and clamped at the rails;
// with dither, a level between two steps comes out as its average.
TEST(SampleConversionTest, WideSamplesInEveryFormat) {
  const double in[] = {-1.0, 0.5 + 0x1p-23, -0x1p-31, 1.5};
  struct Case {
    AVSampleFormat format;
    int bits;
    double expected[4];
  };
  const Case cases[] = {
      {AV_SAMPLE_FMT_U8, 8, {0, 192, 128, 255}},
      {AV_SAMPLE_FMT_S16, 16, {-32768, 16384, 0, 32767}},
      {AV_SAMPLE_FMT_S32, 24, {-0x1p31, 4194305.0 * 256, 0, 8388607.0 * 256}},
      {AV_SAMPLE_FMT_S32, 32, {-0x1p31, 4194305.0 * 256, -1, 2147483647.0}},
      {AV_SAMPLE_FMT_S64, 32, {-0x1p63, 4194305.0 * 0x1p40, -0x1p32, 2147483647.0 * 0x1p32}},
      {AV_SAMPLE_FMT_FLT, 0, {-1.0, 0.5 + 0x1p-23, -0x1p-31, 1.5}},
      {AV_SAMPLE_FMT_DBL, 0, {-1.0, 0.5 + 0x1p-23, -0x1p-31, 1.5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(av_get_sample_fmt_name(c.format)) + " " + std::to_string(c.bits));
    // Planar with one channel is the packed layout.
    for (const AVSampleFormat format : {c.format, av_get_planar_sample_fmt(c.format)}) {
      std::vector<uint8_t> buffer(4 * 8);
      uint8_t* data[1] = {buffer.data()};
      PutWideSamples(in, nullptr, 4, 1, format, WideRounding{c.bits, nullptr}, data, 0);
      for (int i = 0; i < 4; ++i) EXPECT_EQ(SampleAt(c.format, buffer, i), c.expected[i]) << i;
    }
  }

  TpdfDither dither;
  const std::vector<double> level(10000, (8192 + 0.3) / 32768);
  std::vector<int16_t> out(2 * level.size());
  uint8_t* data[1] = {reinterpret_cast<uint8_t*>(out.data())};
  PutWideSamples(level.data(), level.data(), static_cast<int>(level.size()), 2, AV_SAMPLE_FMT_S16,
                 WideRounding{16, &dither}, data, 0);
  double sum = 0.0;
  for (const int16_t s : out) {
    EXPECT_TRUE(s >= 8191 && s <= 8193) << s;
    sum += s;
  }
  EXPECT_NEAR(sum / static_cast<double>(out.size()), 8192.3, 0.02);
}

TEST(TagTextTest, AcceptsUtf8AndRejectsTheRest) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("Motörhead – Ωμέγα 日本語 🎵"));
  EXPECT_FALSE(IsValidUtf8("M\xf6tley"));         // Latin-1 byte
  EXPECT_FALSE(IsValidUtf8("\xc3"));              // cut short
  EXPECT_FALSE(IsValidUtf8("ab\xe6\x97"));        // cut short
  EXPECT_FALSE(IsValidUtf8("\xc0\xaf"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xf4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80"));              // stray continuation
}

TEST(TagTextTest, PutsEntriesInOrderAndSkipsEmptyAndInvalidTexts) {
  TagInfo tags;
  tags.title = "Ünïcödé";
  tags.artist = "Ann";
  tags.album = "bad \xff";
  tags.year = "1999";
  tags.track = "7";
  AVDictionary* metadata = nullptr;
  PutTags(tags, &metadata);
  std::vector<std::string> keys;
  const AVDictionaryEntry* entry = nullptr;
  while ((entry = av_dict_get(metadata, "", entry, AV_DICT_IGNORE_SUFFIX)) != nullptr)
    keys.push_back(std::string(entry->key) + "=" + entry->value);
  av_dict_free(&metadata);
  EXPECT_EQ(keys,
            (std::vector<std::string>{"title=Ünïcödé", "artist=Ann", "date=1999", "track=7"}));
}

TEST(AmrNbModeTest, NearestModeForTheBitRate) {
  EXPECT_EQ(AmrNbEncoder::ModeForBitRate(4750), 0);
  EXPECT_EQ(AmrNbEncoder::ModeForBitRate(10200), 6);
  EXPECT_EQ(AmrNbEncoder::ModeForBitRate(12200), 7);
  EXPECT_EQ(AmrNbEncoder::ModeForBitRate(10000), 6);
  EXPECT_EQ(AmrNbEncoder::ModeForBitRate(1000), 0);
  EXPECT_EQ(AmrNbEncoder::ModeForBitRate(64000), 7);
  EXPECT_EQ(AmrNbEncoder::ModeForBitRate(0), 7);
  EXPECT_EQ(AmrNbEncoder::BitRateOfMode(6), 10200);
}

}  // namespace
}  // namespace quillo
