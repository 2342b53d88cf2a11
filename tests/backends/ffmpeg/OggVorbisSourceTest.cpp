// The Ogg Vorbis source: comments as tags, the fold of surround by the
// Vorbis channel order, block sizes and progress, damaged files, and Ogg
// files that are not Vorbis reaching a back-end that reads them.
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "backends/InstalledBackends.h"
#include "backends/ffmpeg/OggVorbisSource.h"
#include "engine/SourceFactory.h"
#include "tests/backends/ffmpeg/SourceTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

// Encodes a second of a quiet tone with libvorbis, writing each comment
// exactly as given (the ffmpeg program folds the case of keys and merges
// repeated ones).
void WriteVorbisWithComments(const std::string& path, const std::vector<std::string>& comments) {
  constexpr int kRate = 8000;
  vorbis_info info;
  vorbis_info_init(&info);
  ASSERT_EQ(vorbis_encode_init_vbr(&info, 1, kRate, 0.3f), 0);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  for (const std::string& text : comments) vorbis_comment_add(&comment, text.c_str());
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 7);

  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  ogg_page page;
  const auto writePage = [&] {
    std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), out);
    std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), out);
  };
  ogg_packet headers[3];
  vorbis_analysis_headerout(&dsp, &comment, &headers[0], &headers[1], &headers[2]);
  for (ogg_packet& header : headers) ogg_stream_packetin(&stream, &header);
  while (ogg_stream_flush(&stream, &page) != 0) writePage();

  float** buffer = vorbis_analysis_buffer(&dsp, kRate);
  for (int i = 0; i < kRate; ++i) buffer[0][i] = 0.25f * std::sin(2 * M_PI * 440 * i / kRate);
  vorbis_analysis_wrote(&dsp, kRate);
  vorbis_analysis_wrote(&dsp, 0);
  ogg_packet packet;
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
      ogg_stream_packetin(&stream, &packet);
      while (ogg_stream_pageout(&stream, &page) != 0) writePage();
    }
  }
  while (ogg_stream_flush(&stream, &page) != 0) writePage();
  std::fclose(out);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
}

TEST(OggVorbisSource, CommentsBecomeTags) {
  TempDir dir;
  const std::string path = dir.File("tags.ogg");
  // "ALBUM=" and 994 letters make 1000 bytes, the longest comment taken.
  const std::string album(994, 'a');
  WriteVorbisWithComments(
      path, {"title=lower-case key", "ARTIST=First", "Artist=Second", "ALBUM=" + album,
             "COMMENT=" + std::string(995, 'c'), "GENRE=\xFF\xFE not UTF-8", "DATE=2001",
             "TrackNumber=07", "COMPOSER=Cl\xC3\xA9ment", "COPYRIGHT=", "TITLEX=no key"});
  OggVorbisSource source;
  ASSERT_TRUE(source.Open(path, 0));
  TagInfo tags;
  tags.genre = "stale";
  ASSERT_TRUE(source.ReadTags(tags));
  const TagInfo expected{"lower-case key", "Second", album, "2001", "", "", "07",
                         "Cl\xC3\xA9ment", ""};
  EXPECT_EQ(tags, expected);

  // No comments: still true, every text empty.
  WriteVorbisWithComments(path, {});
  ASSERT_TRUE(source.Open(path, 0));
  tags.title = "stale";
  EXPECT_TRUE(source.ReadTags(tags));
  EXPECT_EQ(tags, TagInfo{});
}

double Rms(const Decoded& decoded, int side) {
  double sum = 0;
  for (size_t i = static_cast<size_t>(side); i < decoded.samples.size(); i += 2)
    sum += std::pow(decoded.samples[i], 2);
  return std::sqrt(sum / static_cast<double>(std::max<size_t>(decoded.Frames(), 1)));
}

// A tone on one speaker of a surround file must reach the sides that the
// same material in WAV order reaches, also where the Vorbis order differs.
struct SurroundCase {
  const char* layout;
  int channels;
  int speaker;  // in FFmpeg's (WAV) order
  bool left;
  bool right;
};

const SurroundCase kSurround[] = {
    {"5.1", 6, 0, true, false}, {"5.1", 6, 1, false, true}, {"5.1", 6, 2, true, true},
    {"5.1", 6, 3, true, true},  {"5.1", 6, 4, true, false}, {"5.1", 6, 5, false, true},
    {"3.0", 3, 1, false, true}, {"3.0", 3, 2, true, true},  {"quad", 4, 3, false, true},
};

// A low tone: the encoders keep only the low band on the LFE channel.
std::string SurroundFile(const TempDir& dir, const SurroundCase& c, const std::string& codec,
                         const std::string& extension) {
  std::string tone;
  for (int ch = 0; ch < c.channels; ++ch)
    tone += std::string(ch ? "|" : "") + (ch == c.speaker ? "0.5*sin(2*PI*80*t)" : "0");
  const std::string path =
      dir.File(std::string(c.layout) + "-" + std::to_string(c.speaker) + "-" + codec + extension);
  EXPECT_TRUE(MakeMedia(
      "-f lavfi -i 'aevalsrc=" + tone + ":s=48000:d=1:c=" + c.layout + "' -c:a " + codec, path));
  return path;
}

void ExpectSides(const Decoded& decoded, const SurroundCase& c) {
  ASSERT_EQ(decoded.channels, 2);
  EXPECT_NEAR(static_cast<double>(decoded.Frames()), 48000.0, 1200.0);
  for (int side : {0, 1}) {
    // A side the tone reaches gets an RMS of 8000 or more; lossy coding
    // leaves a little on a side it does not reach.
    const double rms = Rms(decoded, side);
    const bool reached = side == 0 ? c.left : c.right;
    EXPECT_TRUE(reached ? rms > 5000 : rms < 300)
        << c.layout << " speaker " << c.speaker << " side " << side << " rms " << rms;
  }
}

TEST(OggVorbisSource, SurroundFoldsByTheVorbisOrder) {
  TempDir dir;
  for (const SurroundCase& c : kSurround) {
    OggVorbisSource source;
    ASSERT_TRUE(source.Open(SurroundFile(dir, c, "libvorbis", ".ogg"), 0));
    EXPECT_EQ(source.GetSourceChannels(), c.channels);
    ExpectSides(ReadAll(source), c);
  }
}

// Opus and FLAC in Ogg are not Vorbis: the Vorbis source declines them and
// the next back-end of the chain decodes them, folded by their own order.
TEST(OggVorbisSource, OtherOggCodecsReachTheNextBackEnd) {
  static const InstalledBackends backends;
  TempDir dir;
  const SurroundCase frontRight = kSurround[1];
  for (const char* codec : {"libopus", "flac"}) {
    SCOPED_TRACE(codec);
    const std::string path = SurroundFile(dir, frontRight, codec, ".ogg");
    OggVorbisSource vorbis;
    EXPECT_FALSE(vorbis.Open(path, 0));
    OpenedSource opened =
        SourceFactory(backends.table(), nullptr).Open(path, SourceKind::Ogg, 44100, true);
    ASSERT_NE(opened.source, nullptr);
    ExpectSides(ReadAll(*opened.source), frontRight);
  }
}

TEST(OggVorbisSource, BlocksPropertiesAndProgress) {
  TempDir dir;
  for (const int channels : {1, 2}) {
    SCOPED_TRACE(channels);
    const std::string path = dir.File(std::to_string(channels) + ".ogg");
    ASSERT_TRUE(MakeMedia("-f lavfi -i sine=f=440:d=3:r=22050 -ac " + std::to_string(channels) +
                              " -c:a libvorbis -b:a 64k",
                          path));
    OggVorbisSource source;
    ASSERT_TRUE(source.Open(path, 8000));
    EXPECT_EQ(source.GetSampleRate(), 22050);
    EXPECT_EQ(source.GetChannels(), channels);
    EXPECT_EQ(source.GetDurationSeconds(), 3);
    EXPECT_GT(source.GetBitRateKbps(), 0);
    EXPECT_EQ(source.GetProgressTotal(), ReadFile(path).size());
    const int limit = channels == 1 ? kMaxBlockFrames : 1024;
    std::vector<int16_t> left(kMaxBlockFrames), right(kMaxBlockFrames);
    int64_t frames = 0;
    uint64_t lastPosition = 0;
    for (int n; (n = source.Read(left.data(), channels == 2 ? right.data() : nullptr)) > 0;) {
      ASSERT_LE(n, limit);
      frames += n;
      EXPECT_GE(source.GetProgressPosition(), lastPosition);
      lastPosition = source.GetProgressPosition();
    }
    EXPECT_EQ(frames, 3 * 22050);
    EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());
    source.Close();
    EXPECT_EQ(source.GetProgressPosition(), 0u);
  }
}

// Damage inside the stream is skipped and decoding goes on; a cut file ends
// where it was cut; something that is no Vorbis does not open.
TEST(OggVorbisSource, DamagedFilesEndCleanly) {
  TempDir dir;
  const std::string good = dir.File("good.ogg");
  // Noise keeps the pages short, so damage costs little of the sound.
  ASSERT_TRUE(MakeMedia("-f lavfi -i anoisesrc=d=10:c=pink:r=44100:a=0.3 -c:a libvorbis", good));
  const std::vector<uint8_t> bytes = ReadFile(good);
  struct Damage {
    const char* name;
    size_t from, to;  // bytes overwritten with garbage
    size_t keep;      // bytes left of the file
    bool opens;
    int minFrames, maxFrames;
  };
  const size_t n = bytes.size();
  const Damage damages[] = {
      // The pages around the hole are lost; the sound after them is there.
      {"hole_in_the_middle", n / 2, n / 2 + 3000, n, true, 6 * 44100, 10 * 44100 - 1},
      {"garbage_to_the_end", n / 3, n, n, true, 3 * 44100 / 2, 4 * 44100},
      {"cut_at_60_percent", 0, 0, n * 6 / 10, true, 9 * 44100 / 2, 13 * 44100 / 2},
      {"headers_damaged", 40, 200, n, false, 0, 0},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.name);
    std::vector<uint8_t> damaged(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(d.keep));
    for (size_t i = d.from; i < d.to && i < damaged.size(); ++i)
      damaged[i] = static_cast<uint8_t>(i * 131 + 17);
    const std::string path = dir.File(std::string(d.name) + ".ogg");
    WriteFile(path, damaged);
    OggVorbisSource source;
    ASSERT_EQ(source.Open(path, 0), d.opens);
    if (!d.opens) continue;
    const Decoded decoded = ReadAll(source);
    EXPECT_GE(static_cast<int>(decoded.Frames()), d.minFrames);
    EXPECT_LE(static_cast<int>(decoded.Frames()), d.maxFrames);
    EXPECT_EQ(source.Read(std::vector<int16_t>(kMaxBlockFrames).data(), nullptr), 0);
  }
}

}  // namespace
}  // namespace quillo::test
