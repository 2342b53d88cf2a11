#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/BackendTable.h"
#include "engine/ConversionProgress.h"
#include "engine/UserPrompts.h"
#include "engine/media/MediaSink.h"
#include "engine/media/MediaSource.h"

namespace quillo::test {

// A source of `frames` frames whose left sample n is Value(n) and right
// sample -Value(n), delivered in blocks of `block` frames.
class RampSource final : public MediaSource {
 public:
  RampSource(int rate, int channels, int64_t frames, int block, int durationSeconds = -1)
      : rate_(rate),
        channelCount_(channels),
        frames_(frames),
        block_(block),
        durationOverride_(durationSeconds) {}
  static int16_t Value(int64_t n) { return static_cast<int16_t>(n % 20000 - 10000); }
  // Makes the source report, once read to its end, that it stopped on damage
  // with half of its announced length missing.
  void EndOnDamage() { damaged_ = true; }

  void Close() override { ResetState(); }
  bool Open(const std::string&, int) override {
    sampleRate_ = rate_;
    channels_ = sourceChannels_ = channelCount_;
    duration_ = durationOverride_ >= 0 ? durationOverride_ : static_cast<int>(frames_ / rate_);
    progressTotal_ = static_cast<uint64_t>(frames_);
    bitsPerSample_ = 16;
    return true;
  }
  int Read(int16_t* left, int16_t* right) override {
    const int n = static_cast<int>(std::min<int64_t>(block_, frames_ - next_));
    for (int i = 0; i < n; ++i) {
      left[i] = Value(next_ + i);
      if (channelCount_ == 2) right[i] = static_cast<int16_t>(-Value(next_ + i));
    }
    next_ += n;
    progressPosition_ = static_cast<uint64_t>(next_);
    return n;
  }
  std::optional<EarlyEnd> EndedEarly() override {
    if (!damaged_) return std::nullopt;
    return EarlyEnd{static_cast<double>(next_) / rate_, 2.0 * static_cast<double>(frames_) / rate_};
  }

 private:
  int rate_;
  int channelCount_;
  int64_t frames_;
  int block_;
  int durationOverride_;
  int64_t next_ = 0;
  bool damaged_ = false;
};

// Records what is written, interleaved as the configured channel count says.
class RecordingSink final : public MediaSink {
 public:
  void SetPath(const std::string& path) override { path_ = path; }
  void SetSampleRate(int hz) override { rate_ = hz; }
  void SetChannels(int channels) override { channels_ = channels; }
  bool Open() override { return true; }
  bool Write(const int16_t* left, const int16_t* right, int frames) override {
    for (int i = 0; i < frames; ++i) {
      samples.push_back(left[i]);
      if (channels_ == 2) samples.push_back(right[i]);
    }
    return true;
  }
  bool Close() override { return true; }
  int channels() const { return channels_; }

  std::vector<int16_t> samples;

 private:
  std::string path_;
  int rate_ = 0;
  int channels_ = 1;
};

// Counts pumps and cancels after `cancelAfter` of them (never when negative).
class ScriptedProgress final : public ConversionProgress {
 public:
  explicit ScriptedProgress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
  void SetOverallText(const std::string& text) override { overall.push_back(text); }
  void SetOverallRange(int) override {}
  void StepOverall() override { ++steps; }
  void SetFileText(const std::string& text) override { fileTexts.push_back(text); }
  int FileBarWidth() const override { return 50; }
  void SetFileBar(int position) override { bar = position; }
  void Pump() override { ++pumps; }
  bool IsCancelled() const override { return cancelAfter_ >= 0 && pumps > cancelAfter_; }

  std::vector<std::string> overall;
  std::vector<std::string> fileTexts;
  int steps = 0;
  int pumps = 0;
  int bar = 0;

 private:
  int cancelAfter_;
};

// A back-end table of fakes: `make` creates the source of each back-end (it
// is told which one), `sink` every sink. The chains have the program's shape:
// dedicated back-ends first, the framework last.
inline BackendTable FakeTable(std::function<std::unique_ptr<MediaSource>(SourceBackend)> make,
                              BackendTable::SinkMaker sink = nullptr) {
  using B = SourceBackend;
  BackendTable table;
  for (SourceKind kind : {SourceKind::Mp3, SourceKind::Wave, SourceKind::Flac, SourceKind::Midi})
    table.candidates[kind] = {B::AudioLibrary, B::Framework};
  table.candidates[SourceKind::Ogg] = {B::OggVorbis, B::AudioLibrary, B::Framework};
  table.candidates[SourceKind::Aiff] = {B::Aiff, B::AudioLibrary, B::Framework};
  table.candidates[SourceKind::WindowsMedia] = {B::WindowsMedia, B::Framework};
  for (B backend :
       {B::AudioLibrary, B::OggVorbis, B::Au, B::Aiff, B::Amr, B::WindowsMedia, B::Framework})
    table.sources[backend] = [make, backend](bool) { return make(backend); };
  if (sink) table.sinks[FormatBackend::Framework] = std::move(sink);
  return table;
}

// Prompts that record the questions and the locations to open, and answer
// every question with `answer`.
class ScriptedPrompts final : public UserPrompts {
 public:
  void Inform(const std::string&) override {}
  void Warn(const std::string&) override {}
  void Note(const std::string&) override {}
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  std::optional<std::string> AskOutputFile(const std::string&) override { return {}; }
  void OpenLocation(const std::string& location) override { opened.push_back(location); }

  bool answer = false;
  std::vector<std::string> questions;
  std::vector<std::string> opened;
};

}  // namespace quillo::test
