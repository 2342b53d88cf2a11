#include "backends/wm/WmWriter.h"

#include <algorithm>
#include <utility>

#include "catalog/CodecIds.h"
#include "engine/media/MediaSource.h"

namespace quillo {

namespace {

// The PCM blocks the adapter is given at most, and its flush steps.
constexpr int kChunkFrames = kMaxBlockFrames;

}  // namespace

bool WmWriter::SetProfile(const WindowsMediaFormat& format) {
  if (format.sampleRate <= 0 || format.channels < 1 || format.channels > 2 || format.bitRate <= 0)
    return Fail("No Windows Media audio format was chosen");
  format_ = format;
  SinkOptions options;
  options.containerName = "asf";
  options.codecId = codec_id::kWmaV2;
  sink_.SetCodecOptions(options);
  sink_.SetSampleRate(format.sampleRate);
  sink_.SetChannels(format.channels);
  sink_.SetBitRate(format.bitRate);
  return true;
}

bool WmWriter::SetInputProps(int sampleRate, int channels) {
  if (!IsSaneSampleRate(sampleRate) || channels < 1 || channels > 2)
    return Fail("Unsupported input of " + std::to_string(sampleRate) + " Hz, " +
                std::to_string(channels) + " channels");
  inputRate_ = sampleRate;
  inputChannels_ = channels;
  return true;
}

void WmWriter::AddAttribute(const std::string& name, const std::string& value) {
  // The muxer files "title" and "copyright" in the content description,
  // where Title and Copyright live; the other names it writes as given.
  if (name == "Title" || name == "Copyright")
    sink_.AddMetadata(name == "Title" ? "title" : "copyright", value);
  else
    sink_.AddMetadata(name, value);
}

bool WmWriter::BeginWriting() {
  if (format_.sampleRate == 0 || inputRate_ == 0) return Fail("The writer is not configured");
  error_.clear();
  adapter_.Configure(inputRate_, inputChannels_, format_.sampleRate, format_.channels);
  const auto capacity = static_cast<size_t>(adapter_.OutputCapacity(kChunkFrames));
  left_.resize(capacity);
  right_.resize(capacity);
  lastTime_ = -1;
  writing_ = sink_.Open();
  if (!writing_) return false;
  // A wmav2 frame is whole only once the packet after it overlaps it: what
  // decoders make of the first packet is discarded, and the last packet
  // leaves its frame faded out. One frame of silence before the audio and
  // one after it keep every sample of the audio whole and in its place.
  frameSize_ = std::max(sink_.EncoderFrameSize(), 1);
  writing_ = EncodeSilence(frameSize_);
  return writing_;
}

bool WmWriter::WriteSample(int64_t time, const int16_t* left, const int16_t* right, int frames) {
  if (!writing_) return false;
  if (time < lastTime_) return Fail("Samples out of order");
  lastTime_ = time;
  if (inputChannels_ != 2) right = nullptr;
  for (int done = 0; done < frames;) {
    const int chunk = std::min(frames - done, kChunkFrames);
    int produced = 0;
    adapter_.Process(left + done, right != nullptr ? right + done : nullptr, chunk, left_.data(),
                     right_.data(), &produced);
    if (!Encode(produced)) return false;
    done += chunk;
  }
  return true;
}

bool WmWriter::EndWriting() {
  if (!writing_) return false;
  writing_ = false;
  bool ok = true;
  for (int frames; ok && (frames = adapter_.Flush(left_.data(), right_.data(), kChunkFrames)) > 0;)
    ok = Encode(frames);
  ok = ok && EncodeSilence(frameSize_);
  // The file is closed either way; after a failure it is incomplete.
  const bool closed = sink_.Close();
  return ok && closed;
}

bool WmWriter::Encode(int frames) {
  if (frames <= 0) return true;
  return sink_.Write(left_.data(), format_.channels == 2 ? right_.data() : nullptr, frames);
}

bool WmWriter::EncodeSilence(int frames) {
  for (int done = 0; done < frames;) {
    const int chunk = std::min(kChunkFrames, frames - done);
    std::fill_n(left_.begin(), chunk, int16_t{0});
    std::fill_n(right_.begin(), chunk, int16_t{0});
    if (!Encode(chunk)) return false;
    done += chunk;
  }
  return true;
}

bool WmWriter::Fail(std::string reason) {
  error_ = std::move(reason);
  return false;
}

}  // namespace quillo
