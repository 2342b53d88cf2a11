#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/media/TagInfo.h"

namespace quillo::test {

// A fresh folder below the system temporary directory, removed with its
// contents when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Sets an environment variable (unsets it for null) for the life of the
// object, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The process's locale as a German desktop sets it (numbers with a decimal
// comma) for the life of the object, from a de_DE.UTF-8 locale built into a
// temporary folder; the locale before comes back at the end. Inactive when
// the locale cannot be built.
class CommaLocale {
 public:
  CommaLocale();
  ~CommaLocale();
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool active() const { return active_; }

 private:
  TempDir dir_;
  std::optional<ScopedEnv> path_;
  std::string old_;
  bool active_ = false;
};

// Runs a shell command quietly; returns its exit status.
int Run(const std::string& command);
// Runs a shell command and returns what it printed on standard output.
std::string Capture(const std::string& command);
// Quotes a text for the shell.
std::string ShellQuote(const std::string& text);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::string& path);

// Runs the ffmpeg program with `arguments` (inputs, codecs) writing `output`;
// true when it succeeded and the file exists.
bool MakeMedia(const std::string& arguments, const std::string& output);

// A fresh folder for each test, and media the ffmpeg program makes in it.
class FolderTest : public ::testing::Test {
 protected:
  // `input` converted with `arguments` into the file `name` of the folder.
  std::string Encode(const std::string& input, const std::string& name,
                     const std::string& arguments = "");

  TempDir dir_;
};

// The nine tag texts joined by '|' in TagInfo's order, so that a failed
// comparison shows every field.
std::string TagText(const TagInfo& tags);

// Appends the low `bytes` bytes of `value`, the most significant first with
// `bigEndian`, else the least significant first.
void PutInt(std::vector<uint8_t>& out, uint64_t value, int bytes, bool bigEndian);

// Decodes any file with the ffmpeg program into interleaved 16-bit samples
// at the file's own rate and channel count.
std::vector<int16_t> DecodeWithFfmpeg(const std::string& path);

// What ffprobe says of the first audio stream, as "key=value" lines.
std::string ProbeWithFfprobe(const std::string& path);
// One field of that answer ("codec_name", "sample_rate", ...), empty if absent.
std::string FfprobeField(const std::string& probe, const std::string& key);

// A file as ffprobe and ffmpeg read it: rate, channels, interleaved samples.
struct DecodedAudio {
  int rate = 0;
  int channels = 0;
  std::vector<int16_t> samples;
  double Seconds() const {
    return rate > 0 && channels > 0 ? static_cast<double>(samples.size()) / channels / rate : 0.0;
  }
  bool operator==(const DecodedAudio&) const = default;
};
DecodedAudio DecodeAudio(const std::string& path);

// The frequency of a tone on channel `channel`, from its rising zero
// crossings over the middle of the audio (the ends may fade in or out).
double ToneFrequency(const DecodedAudio& audio, int channel = 0);

// Integrated loudness (LUFS) and peak (dBFS: the true peak with `truePeak`,
// else the sample peak; -200 for silence) as ffmpeg's ebur128 meter reports
// them in its summary; with `dualMono` a mono file counts as played on both
// speakers of a pair.
struct LoudnessReading {
  double lufs = 0.0;
  double peakDb = 0.0;
};
LoudnessReading MeasureLoudness(const std::string& path, bool truePeak, bool dualMono = false);

// One second of a tone at half scale or less, in three shapes that
// conversions treat differently: stereo at 44100 Hz, mono at 8000 Hz, 5.1 at
// 48000 Hz (ffmpeg's lavfi descriptions).
struct ToneSource {
  const char* name;
  const char* lavfi;
  double hz;
};
inline constexpr ToneSource kToneSources[] = {
    {"stereo", "aevalsrc=0.5*sin(2*PI*440*t)|0.5*sin(2*PI*440*t):s=44100:d=1", 440},
    {"mono", "aevalsrc=0.5*sin(2*PI*300*t):s=8000:d=1", 300},
    {"surround", "aevalsrc=0.2*sin(2*PI*1000*t):s=48000:d=1:c=5.1", 1000},
};

// A sine of `hz` at `amplitude` (0..1 of full scale), interleaved, the same on
// every channel.
std::vector<int16_t> Sine(int rate, int channels, int frames, double hz, double amplitude);

// Stereo pattern with every 16-bit value on the left and pseudo-random
// values on the right, `frames` frames.
std::vector<int16_t> TestPattern(int frames);

// Writes interleaved 16-bit samples as raw little-endian PCM.
void WriteRawPcm(const std::string& path, const std::vector<int16_t>& samples);

// Largest absolute difference of two equally long sample vectors.
int MaxDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b);

// Zero crossings of channel 0 per second over the middle half of the audio:
// twice the frequency of a clean sine.
double CrossingsPerSecond(const std::vector<int16_t>& interleaved, int channels, int rate);

// Root mean square of channel 0 over the middle half.
double MiddleRms(const std::vector<int16_t>& interleaved, int channels);

// One field of an ffprobe answer for the first audio stream or the format
// ("stream=bit_rate", "format_tags=title", ...), empty when absent.
std::string ProbeEntry(const std::string& path, const std::string& entries, const std::string& key);

}  // namespace quillo::test
