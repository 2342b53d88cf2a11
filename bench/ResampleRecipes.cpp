// Measures soxr's quality recipes on the path the resampling adapter takes
// (16-bit samples in as s / 32768, float through soxr, out times 32767
// truncated toward zero), to choose the recipe by figures:
//  - SNR of a half-scale 1 kHz tone resampled 44100 -> 48000 Hz,
//  - passband flatness: the largest gain deviation of tones up to 20 kHz,
//  - CPU time for 180 s of stereo 44100 -> 48000 Hz in blocks of 1152 frames,
//    with one instance per channel and with one two-channel instance.
//
//   quillo_bench_resample [FFMPEG_OUTPUT.s16]
//
// Given the raw mono 16-bit output of `ffmpeg -ar 48000` for the same tone
// (bench/resample_recipes.sh makes it), its SNR is printed as the bar.
//   quillo_bench_resample --tone FILE   writes that tone (44100 Hz, raw s16le)
#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iterator>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "base/FileHandle.h"
#include "tests/support/SineFit.h"

namespace {

constexpr int kInRate = 44100;
constexpr int kOutRate = 48000;
constexpr int kBlock = 1152;

std::vector<int16_t> Tone(int rate, int frames, double hz, double amplitude) {
  std::vector<int16_t> out(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i)
    out[i] = static_cast<int16_t>(
        std::lround(amplitude * 32767.0 * std::sin(2 * std::numbers::pi * hz * i / rate)));
  return out;
}

using quillo::test::FitSine;

struct Recipe {
  const char* name;
  unsigned long recipe;
  unsigned long flags;
};

int16_t ToPcm(float value) {
  float scaled = value * 32767.0f;
  scaled = std::clamp(scaled, -32767.0f, 32767.0f);
  return static_cast<int16_t>(static_cast<int32_t>(scaled));
}

// Resamples `channels` planar streams in blocks of kBlock frames with either
// one soxr instance per channel or one instance for all, flushing at the end.
std::vector<std::vector<int16_t>> Resample(const Recipe& r, bool shared,
                                           const std::vector<std::vector<int16_t>>& in) {
  const unsigned channels = static_cast<unsigned>(in.size());
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_S, SOXR_FLOAT32_S);
  const soxr_quality_spec_t quality = soxr_quality_spec(r.recipe, r.flags);
  std::vector<soxr_t> handles;
  for (unsigned c = 0; c < (shared ? 1 : channels); ++c)
    handles.push_back(
        soxr_create(kInRate, kOutRate, shared ? channels : 1, nullptr, &io, &quality, nullptr));
  const size_t capacity = 2 * kBlock;
  std::vector<std::vector<float>> fin(channels, std::vector<float>(kBlock));
  std::vector<std::vector<float>> fout(channels, std::vector<float>(capacity));
  std::vector<std::vector<int16_t>> out(channels);
  for (auto& o : out) o.reserve(in[0].size() * kOutRate / kInRate + kBlock);
  auto run = [&](size_t frames, bool last) {
    for (;;) {
      size_t done = 0;
      if (shared) {
        std::vector<const float*> ip;
        std::vector<float*> op;
        for (unsigned c = 0; c < channels; ++c)
          ip.push_back(fin[c].data()), op.push_back(fout[c].data());
        soxr_process(handles[0], last ? nullptr : ip.data(), frames, nullptr, op.data(), capacity,
                     &done);
      } else {
        for (unsigned c = 0; c < channels; ++c) {
          const float* ip = fin[c].data();
          float* op = fout[c].data();
          soxr_process(handles[c], last ? nullptr : &ip, frames, nullptr, &op, capacity, &done);
        }
      }
      for (unsigned c = 0; c < channels; ++c)
        std::transform(fout[c].begin(), fout[c].begin() + static_cast<ptrdiff_t>(done),
                       std::back_inserter(out[c]), ToPcm);
      if (!last || done == 0) return;
    }
  };
  const size_t total = in[0].size();
  for (size_t at = 0; at < total; at += kBlock) {
    const size_t frames = std::min<size_t>(kBlock, total - at);
    for (unsigned c = 0; c < channels; ++c)
      for (size_t i = 0; i < frames; ++i) fin[c][i] = static_cast<float>(in[c][at + i]) / 32768.0f;
    run(frames, false);
  }
  run(0, true);
  for (soxr_t h : handles) soxr_delete(h);
  return out;
}

// The largest deviation (dB) of the gain of tones from 20 Hz to 20 kHz from
// the gain at 1 kHz.
double Flatness(const Recipe& r) {
  const double frequencies[] = {20,    100,   1000,  5000,  10000, 15000,
                                17000, 18000, 19000, 19500, 19800, 20000};
  double reference = 1;
  std::vector<double> gains;
  for (double hz : frequencies) {
    const std::vector<int16_t> in = Tone(kInRate, kInRate / 2, hz, 0.5);
    const auto out = Resample(r, false, {in});
    const double gain =
        FitSine(out[0], kOutRate, hz).amplitude / FitSine(in, kInRate, hz).amplitude;
    // Relative to 1 kHz (the first tone past it), so that the fixed
    // 32767 / 32768 gain does not count.
    if (hz == 1000) reference = gain;
    gains.push_back(gain);
  }
  double worst = 0;
  for (double gain : gains) worst = std::max(worst, std::abs(20 * std::log10(gain / reference)));
  return worst;
}

// CPU time, not wall time: the machine is shared.
double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(const Recipe& r, bool shared, const std::vector<std::vector<int16_t>>& in) {
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    const double start = CpuSeconds();
    const auto out = Resample(r, shared, in);
    const double took = CpuSeconds() - start;
    if (out[0].empty()) return -1;
    best = std::min(best, took);
  }
  return best;
}

std::vector<int16_t> ReadRaw(const char* path) {
  std::vector<int16_t> out;
  const quillo::FileHandle f = quillo::OpenFile(path, "rb");
  if (!f) return out;
  int16_t buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, sizeof(int16_t), 4096, f.get())) > 0)
    out.insert(out.end(), buffer, buffer + n);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<int16_t> tone = Tone(kInRate, 10 * kInRate, 1000, 0.5);
  if (argc == 3 && std::strcmp(argv[1], "--tone") == 0) {
    quillo::FileHandle f = quillo::OpenFile(argv[2], "wb");
    if (!f || std::fwrite(tone.data(), sizeof(int16_t), tone.size(), f.get()) != tone.size())
      return 1;
    return std::fclose(f.release()) == 0 ? 0 : 1;
  }
  std::printf("input tone (16-bit, 44100 Hz): SNR %.2f dB\n", FitSine(tone, kInRate, 1000).snr);
  if (argc == 2) {
    const std::vector<int16_t> reference = ReadRaw(argv[1]);
    if (reference.empty()) return 1;
    std::printf("ffmpeg -ar 48000 (16-bit): SNR %.2f dB, %zu frames\n",
                FitSine(reference, kOutRate, 1000).snr, reference.size());
  }

  std::mt19937 random(180);
  std::normal_distribution<double> noise(0, 6000);
  std::vector<std::vector<int16_t>> music(2, std::vector<int16_t>(180 * kInRate));
  const std::vector<int16_t> long_tone = Tone(kInRate, 180 * kInRate, 440, 0.5);
  for (size_t i = 0; i < music[0].size(); ++i) {
    music[0][i] = long_tone[i];
    music[1][i] = static_cast<int16_t>(std::clamp(noise(random), -32768.0, 32767.0));
  }

  const Recipe recipes[] = {
      {"QQ", SOXR_QQ, 0},
      {"LQ", SOXR_LQ, 0},
      {"MQ", SOXR_MQ, 0},
      {"16-bit", SOXR_16_BITQ, 0},
      {"16-bit rolloff none", SOXR_16_BITQ, SOXR_ROLLOFF_NONE},
      {"HQ (20-bit)", SOXR_HQ, 0},
      {"24-bit", SOXR_24_BITQ, 0},
      {"VHQ (28-bit)", SOXR_VHQ, 0},
      {"16-bit intermediate", SOXR_16_BITQ, SOXR_INTERMEDIATE_PHASE},
  };
  std::printf("%-22s %9s %12s %14s %14s %8s\n", "recipe", "SNR dB", "flatness dB", "per channel s",
              "two-channel s", "frames");
  for (const Recipe& r : recipes) {
    const auto out = Resample(r, false, {tone});
    std::printf("%-22s %9.2f %12.4f %14.3f %14.3f %8zu\n", r.name,
                FitSine(out[0], kOutRate, 1000).snr, Flatness(r), Seconds(r, false, music),
                Seconds(r, true, music), out[0].size());
    std::fflush(stdout);
  }
  return 0;
}
