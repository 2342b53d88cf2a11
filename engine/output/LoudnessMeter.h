#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/media/ExtraTags.h"

namespace quillo {

// Measures the loudness (EBU R128 integrated loudness, gated, with
// libebur128) and the sample and true peaks (engine/output/TruePeak.h)
// of one file or of several files together. Each file is
// fed as blocks of 16-bit or wide samples at its own rate and channel count.
// With `dualMono`, one channel is measured as the loudness standard measures
// a mono signal played on both speakers of a pair (3 dB louder than on one).
class LoudnessMeter {
 public:
  // `truePeak` measures the 4x oversampled peak as well as the sample peak.
  explicit LoudnessMeter(bool truePeak, bool dualMono = false);
  ~LoudnessMeter();

  // Starts the audio of a file; false when the format cannot be measured.
  bool StartFile(int rate, int channels);
  // Adds a block of the current file: `right` is null for one channel.
  void Add(const int16_t* left, const int16_t* right, int frames);
  // Wide samples: full scale 1.0.
  void Add(const double* left, const double* right, int frames);
  // Forgets the current file (a scan that failed and is tried again).
  void DropFile();
  // Takes over the files `other` measured, which it then no longer holds:
  // an album's loudness is that of its tracks' audio together.
  void Absorb(LoudnessMeter& other);

  // The integrated loudness of everything added, in LUFS; none when no block
  // passed the gate (silence, or less than 400 ms of audio).
  std::optional<double> IntegratedLufs() const;
  // The highest sample peak and true peak over every file, as fractions of
  // full scale (1.0 = 0 dBFS).
  double SamplePeak() const;
  double TruePeak() const;

 private:
  struct State;
  bool truePeak_;
  bool dualMono_;
  std::vector<std::unique_ptr<State>> files_;
  template <typename Sample>
  void AddSamples(const Sample* left, const Sample* right, int frames);

  std::vector<int16_t> interleaved_;
  std::vector<double> interleavedWide_;
};

// A gain chosen for a file or a run, and what the user should know about it.
struct LevelGain {
  float gain = -1.0f;  // linear; -1 when the audio is left unscaled
  // Set when the true-peak limit kept the audio below its loudness target:
  // "-30.4 LUFS, held by the true-peak limit".
  std::string note;
};

// The linear gain that brings the measured audio to `targetLufs`, lowered
// where needed so that the true peak stays at or below -1 dBTP; -1 when the
// audio has no gated loudness (it is left unscaled).
LevelGain LoudnessGain(const LoudnessMeter& meter, double targetLufs);

// The ReplayGain 2.0 reference loudness.
inline constexpr double kReplayGainReferenceLufs = -18.0;

// The ReplayGain values of what `meter` measured (its sample peak); none
// when the audio has no gated loudness (silence, or too short).
std::optional<TrackGain> ReplayGainOf(const LoudnessMeter& meter);

}  // namespace quillo
