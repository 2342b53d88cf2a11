// The Ogg Vorbis source: comments as tags, surround folded by the Vorbis
// channel order (and Ogg files that are not Vorbis left to the next back-end,
// folded by their own order), block sizes, progress and damaged files.
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "backends/InstalledBackends.h"
#include "backends/ffmpeg/OggVorbisSource.h"
#include "base/FileHandle.h"
#include "engine/SourceFactory.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

// A second of a quiet mono tone, encoded with libvorbis, each comment
// written exactly as given (the ffmpeg program merges repeated keys).
void WriteVorbis(const std::string& path, const std::vector<std::string>& comments) {
  vorbis_info info;
  vorbis_info_init(&info);
  ASSERT_EQ(vorbis_encode_init_vbr(&info, 1, 8000, 0.3f), 0);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  for (const std::string& text : comments) vorbis_comment_add(&comment, text.c_str());
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 7);
  ogg_packet packets[3];
  vorbis_analysis_headerout(&dsp, &comment, &packets[0], &packets[1], &packets[2]);
  for (ogg_packet& packet : packets) ogg_stream_packetin(&stream, &packet);
  float** buffer = vorbis_analysis_buffer(&dsp, 8000);
  for (int i = 0; i < 8000; ++i) buffer[0][i] = 0.25f * std::sin(0.3f * static_cast<float>(i));
  vorbis_analysis_wrote(&dsp, 8000);
  vorbis_analysis_wrote(&dsp, 0);
  const FileHandle out = OpenFile(path, "wb");
  const auto writePages = [&](int (*next)(ogg_stream_state*, ogg_page*)) {
    ogg_page page;
    while (next(&stream, &page) != 0) {
      std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), out.get());
      std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), out.get());
    }
  };
  writePages(ogg_stream_flush);  // the headers on pages of their own
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    while (vorbis_bitrate_flushpacket(&dsp, &packets[0]) != 0)
      ogg_stream_packetin(&stream, &packets[0]);
    writePages(ogg_stream_pageout);
  }
  writePages(ogg_stream_flush);
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
  WriteVorbis(path, {"title=lower-case key", "ARTIST=First", "Artist=Second", "ALBUM=" + album,
                     "COMMENT=" + std::string(995, 'c'), "GENRE=\xFF\xFE not UTF-8", "DATE=2001",
                     "TrackNumber=07", "COMPOSER=Cl\xC3\xA9ment", "TITLEX=no key"});
  OggVorbisSource source;
  ASSERT_TRUE(source.Open(path, 0));
  TagInfo tags;
  tags.copyright = "stale";
  ASSERT_TRUE(source.ReadTags(tags));
  EXPECT_EQ(tags, (TagInfo{"lower-case key", "Second", album, "2001", "", "", "07",
                           "Cl\xC3\xA9ment", "", "", ""}));
  EXPECT_EQ(ReadAll(source).Frames(), 8000u);
}

// A tone on one speaker reaches the sides that the same material in WAV
// order reaches. The ffmpeg program writes each codec's own channel order.
TEST(OggVorbisSource, SurroundFoldsByEachCodecsChannelOrder) {
  static const InstalledBackends backends;
  const struct {
    const char* codec;
    const char* layout;
    int channels, speaker;  // the speaker in WAV order
    bool left, right;
  } cases[] = {
      {"libvorbis", "5.1", 6, 0, true, false},
      {"libvorbis", "5.1", 6, 1, false, true},
      {"libvorbis", "5.1", 6, 2, true, true},
      {"libvorbis", "5.1", 6, 3, true, true},
      {"libvorbis", "5.1", 6, 4, true, false},
      {"libvorbis", "5.1", 6, 5, false, true},
      {"libvorbis", "3.0", 3, 1, false, true},
      {"libvorbis", "3.0", 3, 2, true, true},
      // Not Vorbis: the Vorbis source declines, the next back-end decodes.
      {"libopus", "5.1", 6, 1, false, true},
      {"flac", "5.1", 6, 1, false, true},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.codec) + " " + c.layout + " speaker " + std::to_string(c.speaker));
    std::string tone;
    // Low, since the encoders keep only the low band on the LFE channel.
    for (int ch = 0; ch < c.channels; ++ch)
      tone += std::string(ch ? "|" : "") + (ch == c.speaker ? "0.5*sin(2*PI*80*t)" : "0");
    const std::string path = dir.File("surround.ogg");
    ASSERT_TRUE(MakeMedia(
        "-f lavfi -i 'aevalsrc=" + tone + ":s=48000:d=1:c=" + c.layout + "' -c:a " + c.codec,
        path));
    OggVorbisSource vorbis;
    const bool isVorbis = std::string(c.codec) == "libvorbis";
    ASSERT_EQ(vorbis.Open(path, 0), isVorbis);
    OpenedSource opened;
    if (!isVorbis)
      opened = SourceFactory(backends.table(), nullptr).Open(path, SourceKind::Ogg, 0, true);
    MediaSource* source = isVorbis ? &vorbis : opened.source.get();
    ASSERT_NE(source, nullptr);
    const Decoded decoded = ReadAll(*source);
    ASSERT_EQ(decoded.channels, 2);
    EXPECT_NEAR(static_cast<double>(decoded.Frames()), 48000.0, 1200.0);
    for (int side : {0, 1}) {
      double sum = 0;
      for (size_t i = static_cast<size_t>(side); i < decoded.samples.size(); i += 2)
        sum += std::pow(decoded.samples[i], 2);
      // A reached side gets an RMS of 8000 or more; lossy coding leaves a
      // little on the other.
      const double rms = std::sqrt(sum / static_cast<double>(decoded.Frames()));
      EXPECT_TRUE((side == 0 ? c.left : c.right) ? rms > 5000 : rms < 300) << side << ": " << rms;
    }
  }
}

// Intact files deliver every frame in blocks of at most 1152 (mono) or 1024
// (stereo) frames with progress reaching its total; damage is skipped and
// decoding goes on after it; a cut file ends where it was cut.
TEST(OggVorbisSource, WholeAndDamagedStreams) {
  TempDir dir;
  const std::string mono = dir.File("mono.ogg");
  const std::string stereo = dir.File("stereo.ogg");
  // Noise keeps the pages short, so that damage costs little of the sound.
  ASSERT_TRUE(MakeMedia("-f lavfi -i anoisesrc=d=10:c=pink:r=44100:a=0.3 -c:a libvorbis", mono));
  ASSERT_TRUE(MakeMedia("-f lavfi -i sine=d=10:r=44100 -ac 2 -c:a libvorbis", stereo));
  const size_t n = ReadFile(mono).size();
  const struct {
    const char* name;
    std::string file;
    size_t from, to, keep;  // bytes overwritten with garbage; bytes left
    double minSeconds, maxSeconds;
  } cases[] = {
      {"intact_mono", mono, 0, 0, n, 10, 10},
      {"intact_stereo", stereo, 0, 0, SIZE_MAX, 10, 10},
      {"hole_in_the_middle", mono, n / 2, n / 2 + 3000, n, 6, 9.9},
      {"garbage_to_the_end", mono, n / 3, n, n, 1.5, 4},
      {"cut_at_60_percent", mono, 0, 0, n * 6 / 10, 4.5, 6.5},
      {"headers_damaged", mono, 40, 200, n, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = ReadFile(c.file);
    bytes.resize(std::min(bytes.size(), c.keep));
    for (size_t i = c.from; i < c.to && i < bytes.size(); ++i)
      bytes[i] = static_cast<uint8_t>(i * 131 + 17);
    const std::string path = dir.File("damaged.ogg");
    WriteFile(path, bytes);
    OggVorbisSource source;
    ASSERT_EQ(source.Open(path, 0), c.maxSeconds > 0);
    if (c.maxSeconds == 0) continue;
    const Decoded decoded = ReadAll(source);
    EXPECT_GE(static_cast<double>(decoded.Frames()), c.minSeconds * 44100);
    EXPECT_LE(static_cast<double>(decoded.Frames()), c.maxSeconds * 44100);
    if (c.minSeconds < c.maxSeconds) continue;
    EXPECT_EQ(source.GetDurationSeconds(), 10);
    EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());
  }
}

}  // namespace
}  // namespace quillo::test
