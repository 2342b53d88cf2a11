#include "engine/BlockLoop.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>

#include "engine/media/SampleScale.h"

namespace quillo {

void ApplyGain(int16_t* samples, int count, float gain) {
  for (int i = 0; i < count; ++i) samples[i] = ClampToS16(static_cast<float>(samples[i]) * gain);
}

void ApplyGain(double* samples, int count, float gain) {
  const double factor = gain;
  for (int i = 0; i < count; ++i) samples[i] *= factor;
}

namespace {

// The two kinds of block: 16-bit samples, and wide ones (SampleFormat.h).
int ReadBlock(MediaSource& source, int16_t* left, int16_t* right) {
  return source.Read(left, right);
}
int ReadBlock(MediaSource& source, double* left, double* right) {
  return source.ReadWide(left, right);
}
bool WriteBlock(MediaSink& sink, const int16_t* left, const int16_t* right, int frames) {
  return sink.Write(left, right, frames);
}
bool WriteBlock(MediaSink& sink, const double* left, const double* right, int frames) {
  return sink.WriteWide(left, right, frames);
}

// Drives the file caption and bar of one pass: "[%d%%] <verb> <name>...".
// The display is touched only when the whole percentage or the bar position
// grows. `verb` is "Converting", "Normalizing" or "Preprocessing".
class FileProgress {
 public:
  FileProgress(ConversionProgress& progress, uint64_t total, std::string verb,
               std::string displayName)
      : progress_(progress), verb_(std::move(verb)), name_(std::move(displayName)) {
    if (total == 0) total = 1;
    divisor_ = std::max<uint64_t>(total / 100, 1);
    width_ = std::max(progress_.FileBarWidth(), 1);
    barStep_ = std::max<uint64_t>(total / static_cast<uint64_t>(width_), 1);
    progress_.SetFileBar(0);
    ShowPercent(0);
  }

  void Update(uint64_t position) {
    const int percent = static_cast<int>(std::min<uint64_t>(position / divisor_, 100));
    if (percent > lastPercent_) {
      lastPercent_ = percent;
      ShowPercent(percent);
    }
    const int bar =
        static_cast<int>(std::min<uint64_t>(position / barStep_, static_cast<uint64_t>(width_)));
    if (bar > lastBar_) {
      lastBar_ = bar;
      progress_.SetFileBar(bar);
    }
  }

  // After a normal end: shows 100 % and a full bar unless already shown.
  void Finish() {
    if (lastPercent_ == 100) return;
    lastPercent_ = 100;
    ShowPercent(100);
    progress_.SetFileBar(width_);
  }

 private:
  void ShowPercent(int percent) {
    progress_.SetFileText("[" + std::to_string(percent) + "%] " + verb_ + " " + name_ + "...");
  }

  ConversionProgress& progress_;
  std::string verb_;
  std::string name_;
  uint64_t divisor_;
  uint64_t barStep_;
  int width_;
  int lastPercent_ = 0;
  int lastBar_ = 0;
};

template <typename Sample>
class BlockLoop {
 public:
  BlockLoop(MediaSource& source, MediaSink& sink, const BlockRoute& route)
      : source_(source),
        sink_(sink),
        route_(route),
        left_(kMaxBlockFrames),
        right_(kMaxBlockFrames) {
    skipRemaining_ = route.skipFrames;
    lengthRemaining_ = route.lengthFrames;
    if (route.resample) {
      const int adapterChannels = route.pickChannel != 0 ? 1 : route.sourceChannels;
      adapter_.Configure(route.sourceRate, adapterChannels, route.outputRate, route.outputChannels,
                         std::is_same_v<Sample, double>);
      outLeft_.resize(static_cast<size_t>(adapter_.OutputCapacity(kMaxBlockFrames)));
      outRight_.resize(outLeft_.size());
    }
  }

  int Read() {
    return ReadBlock(source_, left_.data(), source_.GetChannels() == 2 ? right_.data() : nullptr);
  }

  // Trims the block to the skip and length windows; false when the length
  // window is used up and the loop must end.
  bool Window(int& frames) {
    if (skipRemaining_ > 0) {
      const int64_t before = skipRemaining_;
      skipRemaining_ -= frames;
      if (skipRemaining_ >= 0) {
        frames = 0;
        return true;
      }
      // The block holds the end of the skipped part: keep what follows it.
      const int keep = static_cast<int>(-skipRemaining_);
      const int drop = static_cast<int>(before);
      std::memmove(left_.data(), left_.data() + drop, static_cast<size_t>(keep) * sizeof(Sample));
      if (source_.GetChannels() == 2)
        std::memmove(right_.data(), right_.data() + drop,
                     static_cast<size_t>(keep) * sizeof(Sample));
      frames = keep;
      skipRemaining_ = 0;
    }
    if (route_.lengthFrames >= 0) {
      if (lengthRemaining_ <= 0) return false;
      if (frames >= lengthRemaining_) {
        frames = static_cast<int>(lengthRemaining_);
        lengthRemaining_ = 0;
      } else {
        lengthRemaining_ -= frames;
      }
    }
    return true;
  }

  // False when the sink refused the block.
  bool Emit(int frames) {
    Sample* inLeft = route_.pickChannel == 2 ? right_.data() : left_.data();
    Sample* inRight =
        route_.pickChannel == 0 && source_.GetChannels() == 2 ? right_.data() : nullptr;
    if (!route_.resample) {
      // One channel feeding two goes out as the same buffer twice.
      return Write(inLeft, route_.outputChannels == 2 ? (inRight ? inRight : inLeft) : nullptr,
                   frames);
    }
    int produced = 0;
    adapter_.Process(inLeft, inRight, frames, outLeft_.data(), outRight_.data(), &produced);
    return Write(outLeft_.data(), route_.outputChannels == 2 ? outRight_.data() : nullptr,
                 produced);
  }

  bool Drain() {
    if (!route_.resample) return true;
    const int capacity = static_cast<int>(outLeft_.size());
    Sample* outRight = route_.outputChannels == 2 ? outRight_.data() : nullptr;
    for (int frames; (frames = adapter_.Flush(outLeft_.data(), outRight_.data(), capacity)) > 0;)
      if (!Write(outLeft_.data(), outRight, frames)) return false;
    return true;
  }

  bool SkipPending() const { return skipRemaining_ > 0; }

 private:
  bool Write(Sample* left, Sample* right, int frames) {
    if (frames <= 0) return true;
    if (route_.applyGain) {
      // A left buffer that also serves as the right channel is scaled once.
      ApplyGain(left, frames, route_.gain);
      if (right != nullptr && right != left) ApplyGain(right, frames, route_.gain);
    }
    return WriteBlock(sink_, left, right != nullptr ? right : left, frames);
  }

  MediaSource& source_;
  MediaSink& sink_;
  const BlockRoute& route_;
  std::vector<Sample> left_;
  std::vector<Sample> right_;
  std::vector<Sample> outLeft_;
  std::vector<Sample> outRight_;
  ResampleAdapter adapter_;
  int64_t skipRemaining_ = 0;
  int64_t lengthRemaining_ = -1;
};

template <typename Sample>
LoopEnd MoveBlocks(MediaSource& source, MediaSink& sink, const BlockRoute& route,
                   ConversionProgress& progress, const std::string& verb,
                   const std::string& displayName) {
  BlockLoop<Sample> loop(source, sink, route);
  const uint64_t total = source.GetProgressTotal();
  FileProgress fileProgress(progress, total, verb, displayName);
  const auto blocksPerProgress = static_cast<uint64_t>(std::max(route.blocksPerProgress, 1));
  int frames = loop.Read();
  if (frames <= 0) return LoopEnd::NothingRead;
  uint64_t block = 0;
  // False when a window or the rendered length ended the loop before the source did.
  bool sourceEnded = true;
  do {
    const uint64_t position = source.GetProgressPosition();
    if (block++ % blocksPerProgress == 0) {
      fileProgress.Update(position);
      progress.Pump();
      if (progress.IsCancelled()) return LoopEnd::Cancelled;
    }
    if (!loop.Window(frames)) {
      sourceEnded = false;
      break;
    }
    if (frames > 0 && !loop.Emit(frames)) return LoopEnd::WriteFailed;
    if (route.stopAtProgressTotal && position >= total) {
      sourceEnded = false;
      break;
    }
  } while ((frames = loop.Read()) > 0);
  if (loop.SkipPending()) return LoopEnd::SkipNotReached;
  if (!loop.Drain()) return LoopEnd::WriteFailed;
  fileProgress.Finish();
  if (sourceEnded && source.EndedEarly()) return LoopEnd::EndedEarly;
  return LoopEnd::Finished;
}

}  // namespace

LoopEnd RunBlockLoop(MediaSource& source, MediaSink& sink, const BlockRoute& route,
                     ConversionProgress& progress, const std::string& verb,
                     const std::string& displayName) {
  // 16-bit sources keep their integer arithmetic; wider ones travel as doubles.
  if (source.GetSampleFormat().IsWide())
    return MoveBlocks<double>(source, sink, route, progress, verb, displayName);
  return MoveBlocks<int16_t>(source, sink, route, progress, verb, displayName);
}

}  // namespace quillo
