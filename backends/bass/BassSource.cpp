#include "backends/bass/BassSource.h"

#include <algorithm>
#include <cstring>

#include "backends/tags/TagReader.h"
#include "engine/media/SampleScale.h"
#include "engine/media/SourceKind.h"

namespace quillo {

namespace {

// The widest frame the fold takes; further channels are ignored.
constexpr int kMaxFoldChannels = 8;

// One sample of the library's data: unsigned 8-bit widened, or 16-bit as it is.
int16_t SampleAt(const uint8_t* data, int bytes) {
  if (bytes == 1) return static_cast<int16_t>((data[0] - 128) * 256);
  int16_t sample = 0;
  std::memcpy(&sample, data, 2);
  return sample;
}

}  // namespace

void BassSource::Close() {
  stream_.reset();
  buffer_.clear();
  buffer_.shrink_to_fit();
  wide_.clear();
  wide_.shrink_to_fit();
  wideLeft_.clear();
  wideRight_.clear();
  kind_ = Kind::Stream;
  fold_ = StereoFold();
  path_.clear();
  ResetState();
}

bool BassSource::Open(const std::string& path, int renderRate) {
  Close();
  if (SourceKindFromPath(path) == SourceKind::Midi) {
    stream_ = library_.MidiStreamCreateFile(path, renderRate);
    if (!stream_) return false;
    kind_ = Kind::Midi;
  } else {
    stream_ = library_.StreamCreateFile(path);
    if (!stream_) {
      stream_ = library_.MusicLoad(path, renderRate);
      if (!stream_) return false;
      kind_ = Kind::Module;
    }
  }

  progressTotal_ = stream_->Length();
  if (progressTotal_ == 0) {
    Close();
    return false;
  }
  const double seconds = stream_->BytesToSeconds(progressTotal_);
  duration_ = static_cast<int>(seconds);

  const audio::ChannelInfo& info = stream_->Info();
  sampleRate_ = info.freq;
  sourceChannels_ = info.chans;
  channels_ = info.chans < 2 ? 1 : 2;
  const bool wide = info.format.IsWide();
  bitsPerSample_ = wide ? info.format.bits : 16;
  bytesPerSample_ = wide ? info.BytesPerSample() : 2;
  inputBits_ = wide ? info.format.bits : info.eightBits ? 8 : 16;
  inputBytesPerSample_ = info.eightBits ? 1 : 2;
  fold_ = StereoFold(info.chans, stream_->Speakers());

  const uint64_t fileBytes = stream_->FileSize();
  if (seconds > 0 && fileBytes != audio::kNoFileSize)
    bitRate_ = static_cast<int>(static_cast<double>(fileBytes) / (seconds * 125) + 0.5);
  else
    bitRate_ = inputBits_ * sampleRate_ * sourceChannels_ / 1000;

  if (wide)
    wide_.assign(static_cast<size_t>(sourceChannels_) * kMaxBlockFrames, 0.0);
  else
    buffer_.assign(static_cast<size_t>(channels_ * inputBytesPerSample_ * kMaxBlockFrames), 0);
  path_ = path;
  return true;
}

int BassSource::Read(int16_t* left, int16_t* right) {
  if (!stream_ || left == nullptr) return 0;
  if (!wide_.empty()) return ReadNarrowed(left, right);
  const int channels = sourceChannels_;
  // A fold reads whole frames of every channel into the same block.
  size_t request = buffer_.size();
  if (channels > 2) {
    const size_t frameBytes = static_cast<size_t>(channels * inputBytesPerSample_);
    request = buffer_.size() / frameBytes * frameBytes;
  }
  if (channels_ == 2 && right == nullptr) return 0;
  int16_t* leftTarget = left;
  // 16-bit mono goes straight into the left array.
  void* target =
      (inputBits_ == 16 && channels == 1) ? static_cast<void*>(leftTarget) : buffer_.data();
  const int64_t got = stream_->GetData(target, request);
  if (got <= 0) return 0;
  return Split(left, right, static_cast<size_t>(got));
}

int BassSource::Split(int16_t* left, int16_t* right, size_t bytes) {
  const int channels = sourceChannels_;
  const int width = inputBytesPerSample_;
  if (channels == 1 && width == 2) return static_cast<int>(bytes / 2);  // already in `left`
  const uint8_t* data = buffer_.data();
  const auto frameBytes = static_cast<size_t>(channels * width);
  const size_t frames = bytes / frameBytes;
  const int used = channels < kMaxFoldChannels ? channels : kMaxFoldChannels;
  int16_t frame[kMaxFoldChannels];
  for (size_t i = 0; i < frames; ++i) {
    const uint8_t* in = data + i * frameBytes;
    if (channels <= 2) {
      left[i] = SampleAt(in, width);
      if (channels == 2) right[i] = SampleAt(in + width, width);
      continue;
    }
    for (int c = 0; c < used; ++c) frame[c] = SampleAt(in + c * width, width);
    fold_.Apply(frame, left[i], right[i]);
  }
  return static_cast<int>(frames);
}

int BassSource::ReadNarrowed(int16_t* left, int16_t* right) {
  wideLeft_.resize(kMaxBlockFrames);
  wideRight_.resize(kMaxBlockFrames);
  const int frames = ReadWide(wideLeft_.data(), right != nullptr ? wideRight_.data() : nullptr);
  const bool isFloat = stream_->Info().format.isFloat;
  for (size_t i = 0; i < static_cast<size_t>(std::max(frames, 0)); ++i) {
    left[i] = WideToS16(wideLeft_[i], isFloat);
    if (right != nullptr) right[i] = WideToS16(wideRight_[i], isFloat);
  }
  return frames;
}

SampleFormat BassSource::GetSampleFormat() {
  return stream_ ? stream_->Info().format : SampleFormat{};
}

int BassSource::ReadWide(double* left, double* right) {
  if (!stream_ || left == nullptr || wide_.empty()) return 0;
  if (channels_ == 2 && right == nullptr) return 0;
  const int64_t got = stream_->GetData(wide_.data(), wide_.size() * sizeof(double));
  if (got <= 0) return 0;
  const auto channels = static_cast<size_t>(sourceChannels_);
  const size_t frames = static_cast<size_t>(got) / (channels * sizeof(double));
  const double* in = wide_.data();
  for (size_t i = 0; i < frames; ++i, in += channels) {
    if (channels == 1) {
      left[i] = in[0];
    } else if (channels == 2) {
      left[i] = in[0];
      right[i] = in[1];
    } else {
      // The fold reads the first eight channels of a frame.
      double frame[kMaxFoldChannels];
      std::copy_n(in, std::min<size_t>(channels, kMaxFoldChannels), frame);
      fold_.Apply(frame, left[i], right[i]);
    }
  }
  return static_cast<int>(frames);
}

std::optional<EarlyEnd> BassSource::EndedEarly() {
  // Rendered material has no length of its own to fall short of.
  if (!stream_ || kind_ != Kind::Stream) return std::nullopt;
  const EarlyEnd early{stream_->BytesToSeconds(stream_->Position()),
                       stream_->BytesToSeconds(stream_->AnnouncedLength())};
  if (stream_->StoppedOnError() || FallsShort(early.decodedSeconds, early.announcedSeconds))
    return early;
  return std::nullopt;
}

uint64_t BassSource::GetProgressPosition() { return stream_ ? stream_->Position() : 0; }

bool BassSource::ReadTags(TagInfo& tags) {
  if (!stream_) return false;
  const std::string text =
      audio::ReadTagText(path_, "%TRCK\n%TITL\n%ARTI\n%ALBM\n%GNRE\n%YEAR\n%CMNT\n%COMP\n%COPY");
  return audio::SplitTagText(text, tags);
}

bool ReadFileTags(const audio::AudioLibrary& library, const std::string& path, TagInfo& tags) {
  BassSource source(library);
  if (!source.Open(path, 0)) return false;
  const bool found = source.ReadTags(tags);
  source.Close();
  return found;
}

}  // namespace quillo
