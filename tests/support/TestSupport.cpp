#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace quillo::test {

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  if (value != nullptr)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (old_)
    setenv(name_, old_->c_str(), 1);
  else
    unsetenv(name_);
}

CommaLocale::CommaLocale() {
  const std::string locales = dir_.File("locales");
  std::filesystem::create_directories(locales);
  if (Run("localedef -i de_DE -f UTF-8 " + ShellQuote(locales + "/de_DE.UTF-8")) != 0) return;
  path_.emplace("LOCPATH", locales.c_str());
  old_ = std::setlocale(LC_ALL, nullptr);
  active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

CommaLocale::~CommaLocale() {
  if (active_) std::setlocale(LC_ALL, old_.c_str());
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

int Run(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Capture(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return {};
  std::string output;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) output.append(buffer, n);
  return output;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool MakeMedia(const std::string& arguments, const std::string& output) {
  const int status = Run("ffmpeg -nostdin -v error -y " + arguments + " " + ShellQuote(output));
  return status == 0 && std::filesystem::exists(output);
}

std::string FolderTest::Encode(const std::string& input, const std::string& name,
                               const std::string& arguments) {
  const std::string path = dir_.File(name);
  EXPECT_TRUE(MakeMedia("-i " + ShellQuote(input) + " " + arguments, path)) << path;
  return path;
}

void PutInt(std::vector<uint8_t>& out, uint64_t value, int bytes, bool bigEndian) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * (bigEndian ? bytes - 1 - i : i))));
}

std::string TagText(const TagInfo& t) {
  return t.title + "|" + t.artist + "|" + t.album + "|" + t.year + "|" + t.genre + "|" + t.comment +
         "|" + t.track + "|" + t.composer + "|" + t.copyright;
}

std::vector<int16_t> DecodeWithFfmpeg(const std::string& path) {
  const std::string raw =
      Capture("ffmpeg -v error -i " + ShellQuote(path) + " -map 0:a:0 -f s16le -c:a pcm_s16le -");
  std::vector<int16_t> samples(raw.size() / 2);
  std::memcpy(samples.data(), raw.data(), samples.size() * 2);
  return samples;
}

DecodedAudio DecodeAudio(const std::string& path) {
  DecodedAudio audio;
  const std::string probe = ProbeWithFfprobe(path);
  const std::string rate = FfprobeField(probe, "sample_rate");
  const std::string channels = FfprobeField(probe, "channels");
  if (rate.empty() || channels.empty()) return audio;
  audio.rate = std::stoi(rate);
  audio.channels = std::stoi(channels);
  audio.samples = DecodeWithFfmpeg(path);
  return audio;
}

double ToneFrequency(const DecodedAudio& audio, int channel) {
  if (audio.channels <= channel || audio.rate <= 0) return 0.0;
  const size_t frames = audio.samples.size() / static_cast<size_t>(audio.channels);
  const size_t first = frames / 5, last = frames - frames / 5;
  // A crossing counts once the signal has left a small band around zero, so
  // that codec noise near zero does not add crossings.
  constexpr int kBand = 300;
  int crossings = 0;
  size_t firstCrossing = 0, lastCrossing = 0;
  bool below = false;
  for (size_t i = first; i < last; ++i) {
    const int sample = audio.samples[i * static_cast<size_t>(audio.channels) + channel];
    if (sample < -kBand) below = true;
    if (below && sample > kBand) {
      below = false;
      if (crossings++ == 0) firstCrossing = i;
      lastCrossing = i;
    }
  }
  if (crossings < 2) return 0.0;
  return (crossings - 1) * static_cast<double>(audio.rate) /
         static_cast<double>(lastCrossing - firstCrossing);
}

LoudnessReading MeasureLoudness(const std::string& path, bool truePeak, bool dualMono) {
  const std::string report = Capture("ffmpeg -nostats -i " + ShellQuote(path) +
                                     " -af ebur128=peak=" + (truePeak ? "true" : "sample") +
                                     (dualMono ? ":dualmono=true" : "") + " -f null - 2>&1");
  LoudnessReading reading;
  const size_t summary = report.rfind("Summary:");
  if (summary == std::string::npos) {
    ADD_FAILURE() << "no loudness summary for " << path << ":\n" << report;
    return reading;
  }
  const std::string text = report.substr(summary);
  std::smatch match;
  if (std::regex_search(text, match, std::regex(R"(I:\s+(-?[0-9.]+) LUFS)")))
    reading.lufs = std::stod(match[1]);
  else
    ADD_FAILURE() << "no integrated loudness for " << path;
  if (std::regex_search(text, match, std::regex(R"(Peak:\s+(-?[0-9.]+|-inf) dBFS)")))
    reading.peakDb = match[1] == "-inf" ? -200.0 : std::stod(match[1]);
  else
    ADD_FAILURE() << "no peak for " << path;
  return reading;
}

std::string ProbeWithFfprobe(const std::string& path) {
  return Capture(
      "ffprobe -v error -select_streams a:0 -show_entries "
      "stream=codec_name,sample_rate,channels,duration:format=format_name,duration "
      "-of default=noprint_wrappers=1 " +
      ShellQuote(path));
}

std::string FfprobeField(const std::string& probe, const std::string& key) {
  std::istringstream lines(probe);
  std::string line;
  while (std::getline(lines, line))
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  return {};
}

std::vector<int16_t> Sine(int rate, int channels, int frames, double hz, double amplitude) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    const auto value =
        static_cast<int16_t>(std::lround(amplitude * 32767.0 * std::sin(2 * M_PI * hz * i / rate)));
    for (int c = 0; c < channels; ++c) samples[static_cast<size_t>(i) * channels + c] = value;
  }
  return samples;
}

void WriteRawPcm(const std::string& path, const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes;
  for (int16_t s : samples) PutInt(bytes, static_cast<uint16_t>(s), 2, false);
  WriteFile(path, bytes);
}

std::vector<int16_t> TestPattern(int frames) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
  uint32_t state = 12345;
  for (int i = 0; i < frames; ++i) {
    samples[2 * i] = static_cast<int16_t>(static_cast<uint16_t>(i * 7 + 32768));
    state = state * 1664525u + 1013904223u;
    samples[2 * i + 1] = static_cast<int16_t>(state >> 16);
  }
  return samples;
}

int MaxDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  int worst = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    worst = std::max(worst, std::abs(a[i] - b[i]));
  return worst;
}

double CrossingsPerSecond(const std::vector<int16_t>& interleaved, int channels, int rate) {
  const size_t frames = interleaved.size() / channels;
  const size_t begin = frames / 4, end = frames * 3 / 4;
  int crossings = 0;
  for (size_t i = begin + 1; i < end; ++i) {
    const int a = interleaved[(i - 1) * channels], b = interleaved[i * channels];
    if ((a < 0) != (b < 0)) ++crossings;
  }
  return end > begin ? crossings * static_cast<double>(rate) / static_cast<double>(end - begin)
                     : 0.0;
}

double MiddleRms(const std::vector<int16_t>& interleaved, int channels) {
  const size_t frames = interleaved.size() / channels;
  const size_t begin = frames / 4, end = frames * 3 / 4;
  double sum = 0;
  for (size_t i = begin; i < end; ++i) sum += std::pow(interleaved[i * channels], 2.0);
  return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0.0;
}

std::string ProbeEntry(const std::string& path, const std::string& entries,
                       const std::string& key) {
  const std::string probe =
      Capture("ffprobe -v error -select_streams a:0 -show_entries " + entries +
              " -of default=noprint_wrappers=1 " + ShellQuote(path));
  return FfprobeField(probe, key);
}

}  // namespace quillo::test
