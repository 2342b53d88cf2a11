// The AU header rules: byte orders, damaged headers, rate and channel
// repairs, and a table of malformed headers with their outcomes.
#include <gtest/gtest.h>

#include <string>

#include "backends/files/AuHeader.h"
#include "backends/files/AuSource.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) {
    out.push_back(static_cast<uint8_t>(v));
  }
  return out;
}

std::vector<uint8_t> WithData(std::vector<uint8_t> header, size_t dataBytes) {
  header.resize(header.size() + dataBytes, 0x10);
  return header;
}

struct Malformed {
  const char* name;
  std::vector<uint8_t> file;
  AuHeaderError error;
};

std::vector<Malformed> MalformedHeaders() {
  std::vector<uint8_t> shortFile = AuHeaderBytes(true, 24, 0, 3, 8000, 1);
  shortFile.pop_back();
  std::vector<uint8_t> badMagic = WithData(AuHeaderBytes(true, 24, 100, 3, 8000, 1), 100);
  badMagic[0] = 'R';
  std::vector<uint8_t> noEncodingFound = Bytes({0x2E, 0x73, 0x6E, 0x64, 0, 0, 0, 24});
  noEncodingFound.resize(40, 0xFF);
  return {
      {"short_file", shortFile, AuHeaderError::TooShort},
      {"empty_file", {}, AuHeaderError::TooShort},
      {"bad_magic", badMagic, AuHeaderError::BadMagic},
      {"offset_below_24", WithData(AuHeaderBytes(true, 23, 100, 3, 8000, 1), 100),
       AuHeaderError::BadDataOffset},
      {"offset_past_end", WithData(AuHeaderBytes(true, 5000, 100, 3, 8000, 1), 100),
       AuHeaderError::BadDataOffset},
      {"offset_4_gib", WithData(AuHeaderBytes(false, 0xFFFFFFF0u, 100, 3, 8000, 1), 100),
       AuHeaderError::BadDataOffset},
      {"encoding_0", WithData(AuHeaderBytes(true, 24, 100, 0, 8000, 1), 100),
       AuHeaderError::BadEncoding},
      {"encoding_8", WithData(AuHeaderBytes(true, 24, 100, 8, 8000, 1), 100),
       AuHeaderError::BadEncoding},
      {"encoding_24", WithData(AuHeaderBytes(true, 24, 100, 24, 8000, 1), 100),
       AuHeaderError::BadEncoding},
      {"no_encoding_in_search", noEncodingFound, AuHeaderError::BadEncoding},
      {"channels_2_pow_31", WithData(AuHeaderBytes(true, 24, 100, 3, 8000, 0x80000000u), 100),
       AuHeaderError::BlockTooLarge},
      {"channels_all_ones", WithData(AuHeaderBytes(false, 24, 100, 7, 8000, 0xFFFFFFFFu), 100),
       AuHeaderError::BlockTooLarge},
      // 3641 x 2304 bytes is just past the 8 MiB work buffer.
      {"channels_3641_16bit", WithData(AuHeaderBytes(true, 24, 100, 3, 8000, 3641), 100),
       AuHeaderError::BlockTooLarge},
      {"adpcm_3_channels", WithData(AuHeaderBytes(true, 24, 100, 23, 8000, 3), 100),
       AuHeaderError::BadChannels},
  };
}

class MalformedHeader : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedHeader, IsRefusedAndTheReaderStaysUsable) {
  const Malformed& m = GetParam();
  AuHeader header;
  AuHeaderError error = AuHeaderError::None;
  EXPECT_FALSE(ParseAuHeader(m.file, m.file.size(), header, error));
  EXPECT_EQ(error, m.error);

  TempDir dir;
  const std::string path = dir.File("bad.au");
  WriteFile(path, m.file);
  AuSource source;
  EXPECT_FALSE(source.Open(path, 44100));
  EXPECT_EQ(source.GetChannels(), 0);
  EXPECT_EQ(source.GetProgressTotal(), 0u);
  std::vector<int16_t> left(kMaxBlockFrames);
  std::vector<int16_t> right(kMaxBlockFrames);
  EXPECT_EQ(source.Read(left.data(), right.data()), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedHeader, testing::ValuesIn(MalformedHeaders()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(AuHeaderParse, AcceptsEveryMagicInItsByteOrder) {
  struct Magic {
    std::vector<uint8_t> bytes;
    AuByteOrder order;
  };
  const Magic magics[] = {
      {Bytes({0x2E, 0x73, 0x6E, 0x64}), AuByteOrder::Big},
      {Bytes({0x2E, 0x73, 0x64, 0x00}), AuByteOrder::Big},
      {Bytes({0x64, 0x6E, 0x73, 0x2E}), AuByteOrder::Little},
      {Bytes({0x00, 0x64, 0x73, 0x2E}), AuByteOrder::Little},
  };
  for (const Magic& magic : magics) {
    std::vector<uint8_t> file =
        WithData(AuHeaderBytes(magic.order == AuByteOrder::Big, 24, 64, 3, 22050, 2), 64);
    std::copy(magic.bytes.begin(), magic.bytes.end(), file.begin());
    AuHeader header;
    AuHeaderError error = AuHeaderError::None;
    ASSERT_TRUE(ParseAuHeader(file, file.size(), header, error));
    EXPECT_EQ(header.byteOrder, magic.order);
    EXPECT_EQ(header.sampleRate, 22050);
    EXPECT_EQ(header.channels, 2);
    EXPECT_EQ(header.dataSize, 64u);
  }
}

TEST(AuHeaderParse, RepairsRateChannelsAndSizes) {
  struct Case {
    uint32_t rate;
    uint32_t channels;
    uint32_t dataSize;
    int wantRate;
    int wantChannels;
    uint64_t wantSize;
  };
  // The file holds 200 bytes of data after a 32-byte header.
  const Case cases[] = {
      {500, 1, 200, 8000, 1, 200},           {200000, 1, 200, 8000, 1, 200},
      {999, 1, 200, 8000, 1, 200},           {1000, 1, 200, 1000, 1, 200},
      {100000, 1, 200, 100000, 1, 200},      {100001, 1, 200, 8000, 1, 200},
      {44100, 0, 200, 44100, 1, 200},        {44100, 3640, 200, 44100, 3640, 200},
      {44100, 2, 0xFFFFFFFF, 44100, 2, 200},  // unknown: up to the end of the file
      {44100, 2, 5000, 44100, 2, 200},        // declared beyond the file: cut
      {44100, 2, 100, 44100, 2, 100},         // trailing bytes are not data
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> file =
        WithData(AuHeaderBytes(true, 32, c.dataSize, 3, c.rate, c.channels), 8 + 200);
    AuHeader header;
    AuHeaderError error = AuHeaderError::None;
    ASSERT_TRUE(ParseAuHeader(file, file.size(), header, error)) << c.rate << "/" << c.channels;
    EXPECT_EQ(header.sampleRate, c.wantRate);
    EXPECT_EQ(header.channels, c.wantChannels);
    EXPECT_EQ(header.dataOffset, 32u);
    EXPECT_EQ(header.dataSize, c.wantSize);
  }
}

// A writer that shifted its fields: the encoding field reads 0x01000000, the
// real encoding 3 sits at offset 13, the rate at 17 and the channels at 21.
TEST(AuHeaderParse, FindsTheEncodingOfAShiftedHeader) {
  std::vector<uint8_t> file = Bytes({0x2E, 0x73, 0x6E, 0x64, 0,    0, 0, 28, 0, 0, 0, 8,  //
                                     0x01, 0x00, 0x00, 0x00, 0x03,                        //
                                     0x00, 0x00, 0x2B, 0x11,                              //
                                     0x00, 0x00, 0x00, 0x02,                              //
                                     0x00, 0x00, 0x00});
  // Two stereo frames of 16-bit samples.
  const std::vector<uint8_t> data = Bytes({0x01, 0x00, 0xFF, 0x00, 0x7F, 0xFF, 0x80, 0x00});
  file.insert(file.end(), data.begin(), data.end());
  AuHeader header;
  AuHeaderError error = AuHeaderError::None;
  ASSERT_TRUE(ParseAuHeader(file, file.size(), header, error));
  EXPECT_EQ(header.encoding, AuEncoding::Linear16);
  EXPECT_EQ(header.sampleRate, 11025);
  EXPECT_EQ(header.channels, 2);

  TempDir dir;
  const std::string path = dir.File("shifted.au");
  WriteFile(path, file);
  AuSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetSampleRate(), 11025);
  const Decoded got = ReadAll(source);
  EXPECT_EQ(got.samples, (std::vector<int16_t>{256, -256, 32767, -32768}));
}

TEST(AuHeaderParse, ShiftedHeaderNeedsItsFieldsInsideTheFile) {
  // The encoding found at offset 13 would need rate and channels up to byte
  // 25; the file ends at 24.
  const std::vector<uint8_t> file =
      Bytes({0x2E, 0x73, 0x6E, 0x64, 0,    0, 0, 24,   0,    0, 0, 0,  //
             0x01, 0x00, 0x00, 0x00, 0x03, 0, 0, 0x1F, 0x40, 0, 0, 0});
  AuHeader header;
  AuHeaderError error = AuHeaderError::None;
  EXPECT_FALSE(ParseAuHeader(file, file.size(), header, error));
  EXPECT_EQ(error, AuHeaderError::BadEncoding);
}

}  // namespace
}  // namespace quillo::test
