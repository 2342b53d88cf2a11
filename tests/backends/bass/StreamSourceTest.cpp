// BassSource over the stream formats: WAV, MP3, FLAC and WavPack.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <thread>

#include "backends/bass/BassSource.h"
#include "engine/media/Downmix.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::ReadAll;
using test::ShellQuote;
using StreamSourceTest = test::LibraryTest;

TEST_F(StreamSourceTest, SixteenBitStereoWavIsDeliveredExactlyInFullBlocks) {
  const int frames = 44100 * 109 / 10;  // 10.9 s
  std::vector<int16_t> pcm = test::Sine(44100, 2, frames, 441.0, 0.8);
  for (size_t i = 1; i < pcm.size(); i += 2) pcm[i] = static_cast<int16_t>(-pcm[i] / 2);
  const std::string path = dir_.File("tone.wav");
  test::WriteWav(path, 44100, 2, 16, false, test::Widen(pcm));

  BassSource source(library_);
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetDurationSeconds(), 10);
  EXPECT_EQ(source.GetSampleRate(), 44100);
  EXPECT_EQ(source.GetSourceChannels(), 2);
  EXPECT_EQ(source.GetChannels(), 2);
  EXPECT_EQ(source.GetBitsPerSample(), 16);
  EXPECT_EQ(source.GetProgressTotal(), pcm.size() * 2);
  // The whole file (44-byte header included) over the playing time.
  const double seconds = static_cast<double>(frames) / 44100;
  EXPECT_EQ(source.GetBitRateKbps(),
            static_cast<int>((pcm.size() * 2 + 44) / (seconds * 125) + 0.5));

  const test::Decoded decoded = ReadAll(source);
  EXPECT_EQ(decoded.LargestBlock(), kMaxBlockFrames);
  EXPECT_EQ(decoded.samples, pcm);
  EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());
}

TEST_F(StreamSourceTest, EightBitDataIsWidenedByTheByteValue) {
  const std::string mono = dir_.File("mono8.wav");
  std::vector<int32_t> bytes;
  for (int i = 0; i < 3000; ++i) bytes.push_back(i % 3 == 0 ? 0 : (i % 3 == 1 ? 128 : 255));
  test::WriteWav(mono, 8000, 1, 8, false, bytes);

  BassSource source(library_);
  ASSERT_TRUE(source.Open(mono, 0));
  EXPECT_EQ(source.GetChannels(), 1);
  EXPECT_EQ(source.GetProgressTotal(), 3000u);  // the library keeps 8-bit data 8-bit
  EXPECT_EQ(source.GetBitsPerSample(), 16);
  const test::Decoded decoded = ReadAll(source);
  ASSERT_EQ(decoded.Frames(), 3000u);
  EXPECT_EQ(decoded.samples[0], -32768);
  EXPECT_EQ(decoded.samples[1], 0);
  EXPECT_EQ(decoded.samples[2], 32512);
  EXPECT_EQ(decoded.samples[2998], 0);

  // Stereo: the two channels keep their own bytes.
  const std::string stereo = dir_.File("stereo8.wav");
  std::vector<int32_t> pairs;
  for (int i = 0; i < 2000; ++i) {
    pairs.push_back(i % 256);
    pairs.push_back(255 - i % 256);
  }
  test::WriteWav(stereo, 11025, 2, 8, false, pairs);
  ASSERT_TRUE(source.Open(stereo, 0));
  const test::Decoded both = ReadAll(source);
  ASSERT_EQ(both.Frames(), 2000u);
  for (size_t i = 0; i < 2000; ++i) {
    ASSERT_EQ(both.samples[2 * i], (static_cast<int>(i % 256) - 128) * 256) << i;
    ASSERT_EQ(both.samples[2 * i + 1], (127 - static_cast<int>(i % 256)) * 256) << i;
  }
}

TEST_F(StreamSourceTest, TwentyFourBitAndFloatWavMatchTheReferenceDecoder) {
  std::vector<int32_t> wide;
  for (int i = 0; i < 5000; ++i) wide.push_back(((i * 7919) % 16777216) - 8388608);
  const std::string wav24 = dir_.File("wide.wav");
  test::WriteWav(wav24, 48000, 2, 24, false, wide);

  BassSource source(library_);
  ASSERT_TRUE(source.Open(wav24, 0));
  EXPECT_EQ(source.GetSampleRate(), 48000);
  const test::Decoded decoded = ReadAll(source);
  ASSERT_EQ(decoded.samples.size(), wide.size());
  for (size_t i = 0; i < wide.size(); ++i) ASSERT_EQ(decoded.samples[i], wide[i] >> 8) << i;
  EXPECT_EQ(decoded.samples, test::DecodeWithFfmpeg(wav24));

  // 16-bit values stored as float come back unchanged; overshoots clip.
  std::vector<float> floats;
  std::vector<int16_t> expected;
  for (int v = -32768; v < 32768; v += 97) {
    floats.push_back(static_cast<float>(v) / 32768.0f);
    expected.push_back(static_cast<int16_t>(v));
  }
  floats.insert(floats.end(), {1.0f, 1.7f, -1.0f, -3.5f, 0.5f});
  expected.insert(expected.end(), {32767, 32767, -32768, -32768, 16384});
  const std::string wavFloat = dir_.File("float.wav");
  test::WriteFloatWav(wavFloat, 22050, 1, floats);
  ASSERT_TRUE(source.Open(wavFloat, 0));
  EXPECT_EQ(source.GetChannels(), 1);
  EXPECT_EQ(ReadAll(source).samples, expected);
}

TEST_F(StreamSourceTest, BlockCodedWavEndsAtItsTrueLength) {
  const int frames = 22050;
  const std::vector<int16_t> pcm = test::Sine(22050, 2, frames, 440.0, 0.5);
  const std::string wav = dir_.File("in.wav");
  test::WriteWav(wav, 22050, 2, 16, false, test::Widen(pcm));
  // The true length stands in the "fact" chunk, also behind a chunk larger
  // than the head read to recognise the file.
  for (const auto& [encoding, junk] :
       {std::pair{"ima-adpcm", 0u}, std::pair{"ms-adpcm", 0u}, std::pair{"u-law", 0u},
        std::pair{"a-law", 0u}, std::pair{"ima-adpcm", 70000u}}) {
    SCOPED_TRACE(std::string(encoding) + " " + std::to_string(junk));
    const std::string coded = dir_.File(std::string(encoding) + ".wav");
    ASSERT_EQ(test::Run("sox " + ShellQuote(wav) + " -e " + encoding + " " + ShellQuote(coded)), 0);
    if (junk > 0) {
      // A "junk" chunk after the format chunk, the RIFF size grown to match.
      const auto putLe32 = [](uint8_t* at, size_t value) {
        for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
      };
      std::vector<uint8_t> chunk(8 + junk, 0);
      std::copy_n("junk", 4, chunk.begin());
      putLe32(&chunk[4], junk);
      std::vector<uint8_t> bytes = test::ReadFile(coded);
      const size_t afterFormat = 20 + bytes[16] + (size_t{bytes[17]} << 8);
      bytes.insert(bytes.begin() + static_cast<long>(afterFormat), chunk.begin(), chunk.end());
      putLe32(&bytes[4], bytes.size() - 8);
      test::WriteFile(coded, bytes);
    }
    BassSource source(library_);
    ASSERT_TRUE(source.Open(coded, 0));
    EXPECT_EQ(source.GetChannels(), 2);
    EXPECT_EQ(source.GetProgressTotal(), static_cast<uint64_t>(frames) * 4);
    const test::Decoded decoded = ReadAll(source);
    ASSERT_EQ(decoded.Frames(), static_cast<size_t>(frames));
    // Lossy codings stay close to the tone they were made from.
    double error = 0;
    for (size_t i = 0; i < pcm.size(); ++i) error += std::abs(decoded.samples[i] - pcm[i]);
    EXPECT_LT(error / static_cast<double>(pcm.size()), 400.0);
  }
}

TEST_F(StreamSourceTest, SixChannelsAreFoldedInBlocksOf384Frames) {
  const int frames = 2000;
  std::vector<int32_t> samples;
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < 6; ++c) samples.push_back(((i * 131 + c * 977) % 20000) - 10000);
  const std::string path = dir_.File("six.wav");
  test::WriteWav(path, 48000, 6, 16, false, samples);

  BassSource source(library_);
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetSourceChannels(), 6);
  EXPECT_EQ(source.GetChannels(), 2);
  EXPECT_EQ(source.GetBitRateKbps(),
            static_cast<int>((frames * 12 + 44) / (frames / 48000.0 * 125) + 0.5));
  const test::Decoded decoded = ReadAll(source);
  EXPECT_EQ(decoded.LargestBlock(), 384);
  ASSERT_EQ(decoded.Frames(), static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    int16_t frame[6];
    for (int c = 0; c < 6; ++c)
      frame[c] = static_cast<int16_t>(samples[static_cast<size_t>(i * 6 + c)]);
    int16_t left = 0;
    int16_t right = 0;
    DownmixToStereo(6, frame, left, right);
    ASSERT_EQ(decoded.samples[static_cast<size_t>(2 * i)], left) << i;
    ASSERT_EQ(decoded.samples[static_cast<size_t>(2 * i + 1)], right) << i;
  }
}

struct Mp3Case {
  int rate;
  int channels;
  const char* quality;  // ffmpeg's rate-control arguments
};

TEST_F(StreamSourceTest, Mp3LengthIsTheEncodersInputWithinOneFrame) {
  const Mp3Case cases[] = {
      {44100, 2, "-b:a 128k"}, {44100, 1, "-q:a 4"}, {22050, 1, "-b:a 64k"}, {22050, 2, "-q:a 2"}};
  for (const Mp3Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rate) + "/" + std::to_string(c.channels) + " " + c.quality);
    const int frames = c.rate * 3 + 777;
    const std::string wav = dir_.File("in.wav");
    test::WriteWav(wav, c.rate, c.channels, 16, false,
                   test::Widen(test::Sine(c.rate, c.channels, frames, 440.0, 0.5)));
    const std::string mp3 = Encode(wav, "out.mp3", std::string("-c:a libmp3lame ") + c.quality);

    BassSource source(library_);
    ASSERT_TRUE(source.Open(mp3, 0));
    EXPECT_EQ(source.GetSampleRate(), c.rate);
    EXPECT_EQ(source.GetSourceChannels(), c.channels);
    EXPECT_EQ(source.GetDurationSeconds(), 3);
    EXPECT_GT(source.GetBitRateKbps(), 16);
    const test::Decoded decoded = ReadAll(source);
    EXPECT_LE(std::abs(static_cast<long>(decoded.Frames()) - frames), 1152);
    EXPECT_EQ(decoded.Frames() * static_cast<size_t>(c.channels) * 2, source.GetProgressTotal());
    // The tone survives: the middle of the decode is loud.
    int peak = 0;
    for (size_t i = decoded.samples.size() / 3; i < decoded.samples.size() / 2; ++i)
      peak = std::max(peak, std::abs(static_cast<int>(decoded.samples[i])));
    EXPECT_GT(peak, 12000);
  }
}

TEST_F(StreamSourceTest, FlacAndWavPackMatchTheReferenceDecoderSampleForSample) {
  const int frames = 44100 * 2 + 333;
  std::vector<int16_t> pcm = test::Sine(44100, 2, frames, 1000.0, 0.7);
  for (size_t i = 0; i < pcm.size(); i += 7) pcm[i] = static_cast<int16_t>(pcm[i] ^ 0x55);
  const std::string wav = dir_.File("in.wav");
  test::WriteWav(wav, 44100, 2, 16, false, test::Widen(pcm));
  std::vector<int32_t> wide;
  for (int i = 0; i < 30000; ++i)
    wide.push_back(static_cast<int32_t>((int64_t{i} * 104729) % 16777216) - 8388608);
  const std::string wav24 = dir_.File("in24.wav");
  test::WriteWav(wav24, 96000, 1, 24, false, wide);

  const std::string flac = Encode(wav, "a.flac");
  const std::string flac24 = Encode(wav24, "b.flac", "-sample_fmt s32");
  const std::string wv = Encode(wav, "a.wv");
  const std::string wv24 = Encode(wav24, "b.wv");

  for (const std::string& path : {flac, wv}) {
    SCOPED_TRACE(path);
    BassSource source(library_);
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetSampleRate(), 44100);
    EXPECT_EQ(source.GetChannels(), 2);
    EXPECT_EQ(source.GetDurationSeconds(), 2);
    EXPECT_EQ(source.GetProgressTotal(), pcm.size() * 2);
    const test::Decoded decoded = ReadAll(source);
    EXPECT_EQ(decoded.samples, pcm);
    EXPECT_EQ(decoded.samples, test::DecodeWithFfmpeg(path));
  }
  for (const std::string& path : {flac24, wv24}) {
    SCOPED_TRACE(path);
    BassSource source(library_);
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetSampleRate(), 96000);
    EXPECT_EQ(source.GetChannels(), 1);
    const test::Decoded decoded = ReadAll(source);
    ASSERT_EQ(decoded.Frames(), wide.size());
    EXPECT_EQ(decoded.samples, test::DecodeWithFfmpeg(path));
  }
}

TEST_F(StreamSourceTest, AFormatWhoseHandlerIsMissingDoesNotOpen) {
  const std::string wav = dir_.File("in.wav");
  test::WriteWav(wav, 8000, 1, 16, false, test::Widen(test::Sine(8000, 1, 8000, 300.0, 0.5)));
  const std::string flac = Encode(wav, "a.flac");
  const std::string wv = Encode(wav, "a.wv");

  audio::AudioLibrary bare;
  test::StartLibrary(bare, {"flac", "wavpack"});
  EXPECT_EQ(bare.PluginLoad("no-such-handler"), 0);
  BassSource source(bare);
  EXPECT_FALSE(source.Open(flac, 0));
  EXPECT_FALSE(source.Open(wv, 0));
  EXPECT_TRUE(source.Open(wav, 0));

  // Unloading a handler by its handle takes its format away.
  audio::AudioLibrary full;
  test::StartLibrary(full);
  BassSource other(full);
  ASSERT_TRUE(other.Open(flac, 0));
  full.PluginFree(1);  // "flac", the first start-up handler
  EXPECT_FALSE(other.Open(flac, 0));
  EXPECT_TRUE(other.Open(wv, 0));
}

TEST_F(StreamSourceTest, ReopeningClosesThePreviousStreamFirst) {
  const std::string a = dir_.File("a.wav");
  const std::string b = dir_.File("b.wav");
  test::WriteWav(a, 44100, 2, 16, false, test::Widen(test::Sine(44100, 2, 44100 * 3, 200.0, 0.5)));
  test::WriteWav(b, 8000, 1, 16, false, test::Widen(test::Sine(8000, 1, 1000, 200.0, 0.5)));
  BassSource source(library_);
  ASSERT_TRUE(source.Open(a, 0));
  std::vector<int16_t> left(kMaxBlockFrames);
  std::vector<int16_t> right(kMaxBlockFrames);
  ASSERT_EQ(source.Read(left.data(), right.data()), kMaxBlockFrames);
  ASSERT_TRUE(source.Open(b, 0));
  EXPECT_EQ(source.GetSampleRate(), 8000);
  EXPECT_EQ(source.GetChannels(), 1);
  EXPECT_EQ(source.GetDurationSeconds(), 0);
  EXPECT_EQ(source.GetProgressPosition(), 0u);
  EXPECT_EQ(ReadAll(source).Frames(), 1000u);

  // A failed open leaves the source closed, with every value reset.
  EXPECT_FALSE(source.Open(dir_.File("missing.wav"), 0));
  EXPECT_EQ(source.GetSampleRate(), 0);
  EXPECT_EQ(source.GetProgressTotal(), 0u);
  EXPECT_EQ(source.Read(left.data(), right.data()), 0);
}

TEST_F(StreamSourceTest, EmptyAndDamagedFilesFailOrEndWithoutFault) {
  // A WAV without frames has length 0 and does not open.
  const std::string empty = dir_.File("empty.wav");
  test::WriteWav(empty, 44100, 2, 16, false, {});
  BassSource source(library_);
  EXPECT_FALSE(source.Open(empty, 0));

  // Random bytes under every stream extension.
  std::vector<uint8_t> noise(20000);
  uint32_t seed = 12345;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 24);
  for (const char* name : {"n.mp3", "n.wav", "n.flac", "n.wv", "n.aac", "n.m4a", "n.adx"}) {
    const std::string path = dir_.File(name);
    test::WriteFile(path, noise);
    EXPECT_FALSE(source.Open(path, 0)) << name;
  }

  // Real files cut short or overwritten in the middle: they open or not, and
  // whatever opens reads to an end.
  const std::string wav = dir_.File("in.wav");
  test::WriteWav(wav, 44100, 2, 16, false,
                 test::Widen(test::Sine(44100, 2, 44100 * 2, 440.0, 0.5)));
  for (const char* ext : {".mp3", ".flac", ".wv"}) {
    std::vector<uint8_t> bytes = test::ReadFile(Encode(wav, std::string("good") + ext));
    for (int variant = 0; variant < 3; ++variant) {
      std::vector<uint8_t> bad = bytes;
      if (variant == 0) bad.resize(bad.size() / 3);
      if (variant == 1)
        for (size_t i = bad.size() / 4; i < bad.size() / 2; ++i) bad[i] = noise[i % noise.size()];
      if (variant == 2) bad.resize(std::min<size_t>(bad.size(), 60));
      const std::string path = dir_.File(std::string("bad") + std::to_string(variant) + ext);
      test::WriteFile(path, bad);
      if (source.Open(path, 0)) {
        const test::Decoded decoded = ReadAll(source);
        EXPECT_LE(decoded.Frames(), 44100u * 2 + 1152) << path;
      }
    }
  }
}

TEST_F(StreamSourceTest, OpensWhatTheOggAndAiffReadersLeaveToIt) {
  const int frames = 16000 * 2;
  const std::vector<int16_t> pcm = test::Sine(16000, 1, frames, 500.0, 0.5);
  const std::string wav = dir_.File("in.wav");
  test::WriteWav(wav, 16000, 1, 16, false, test::Widen(pcm));
  const std::string aiff = Encode(wav, "a.aiff");
  const std::string aifc = Encode(wav, "b.aifc", "-c:a pcm_s16le -f aiff");
  const std::string aiff8 = Encode(wav, "c.aif", "-c:a pcm_s8");
  const std::string opus = Encode(wav, "d.ogg", "-c:a libopus");
  const std::string oggFlac = Encode(wav, "e.oga", "-c:a flac -f ogg");

  BassSource source(library_);
  for (const std::string& path : {aiff, aifc}) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetSampleRate(), 16000);
    EXPECT_EQ(ReadAll(source).samples, pcm);
  }
  // Signed 8-bit AIFF is 8-bit data too: the top byte of each sample.
  ASSERT_TRUE(source.Open(aiff8, 0));
  EXPECT_EQ(source.GetProgressTotal(), static_cast<uint64_t>(frames));
  const test::Decoded eight = ReadAll(source);
  ASSERT_EQ(eight.Frames(), static_cast<size_t>(frames));
  EXPECT_EQ(eight.samples, test::DecodeWithFfmpeg(aiff8));

  for (const std::string& path : {opus, oggFlac}) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetChannels(), 1);
    EXPECT_EQ(source.GetDurationSeconds(), 2);
    const test::Decoded decoded = ReadAll(source);
    EXPECT_NEAR(static_cast<double>(decoded.Frames()), frames, 960.0);
  }
  ASSERT_TRUE(source.Open(oggFlac, 0));
  EXPECT_EQ(ReadAll(source).samples, pcm);  // lossless
  // FLAC in Ogg needs the FLAC handler like any FLAC file.
  audio::AudioLibrary noFlac;
  test::StartLibrary(noFlac, {"flac"});
  BassSource without(noFlac);
  EXPECT_FALSE(without.Open(oggFlac, 0));
  EXPECT_TRUE(without.Open(opus, 0));
}

TEST_F(StreamSourceTest, SourcesOnSeveralThreadsDecodeIndependently) {
  const std::string wav = dir_.File("in.wav");
  test::WriteWav(wav, 44100, 2, 16, false,
                 test::Widen(test::Sine(44100, 2, 44100 * 2, 440.0, 0.5)));
  const std::string mp3 = Encode(wav, "a.mp3");
  const std::string flac = Encode(wav, "a.flac");
  const std::string files[] = {wav, mp3, flac, wav, mp3, flac};
  std::vector<std::vector<int16_t>> results(6);
  audio::AudioLibrary library;
  test::StartLibrary(library);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < 6; ++i) {
    threads.emplace_back([&, i] {
      BassSource source(library);
      if (source.Open(files[i], 0)) results[i] = ReadAll(source).samples;
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_FALSE(results[i].empty()) << files[i];
    EXPECT_EQ(results[i], results[i + 3]) << files[i];
  }
  EXPECT_EQ(results[0], results[2]);  // FLAC is lossless
}

}  // namespace
}  // namespace quillo
