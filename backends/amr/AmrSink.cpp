#include "backends/amr/AmrSink.h"

#include <algorithm>

#include "catalog/AmrModes.h"

namespace quillo {

AmrSink::~AmrSink() {
  if (encoder_) Close();
}

void AmrSink::SetCodecOptions(const SinkOptions& options) {
  if (encoder_) return;  // the band cannot change under an open file
  const bool narrow = options.narrowBand == 1;
  format_ = narrow ? &kAmrNarrowBand : &kAmrWideBand;
  dtx_ = options.dtx != 0;
  mode_ = AmrModeOrFallback(narrow ? options.amrMode : options.wideBandMode, format_->modes);
}

bool AmrSink::Fail(const std::string& reason) {
  failed_ = true;
  if (error_.empty()) error_ = reason;
  return false;
}

void AmrSink::Reset() {
  path_.clear();
  format_ = nullptr;
  dtx_ = false;
  mode_ = 0;
  encoder_.reset();
  buffered_ = 0;
  failed_ = false;
}

bool AmrSink::Open() {
  error_.clear();
  if (encoder_) return Fail("The AMR file is already open");
  if (format_ == nullptr) return Fail("The AMR band was not chosen");
  if (path_.empty()) return Fail("No output file was given");
  std::string reason;
  encoder_ = AmrEncoder::Init(*format_, path_, dtx_, mode_, reason);
  if (!encoder_) return Fail(reason);
  buffered_ = 0;
  failed_ = false;
  return true;
}

bool AmrSink::Write(const int16_t* left, const int16_t* /*right*/, int frames) {
  if (!encoder_) return Fail("The AMR file is not open");
  if (failed_) return false;  // a file with a gap is no output
  if (frames < 0 || (frames > 0 && left == nullptr)) return Fail("Invalid samples");
  const int frameSamples = format_->frameSamples;
  if (buffered_ + frames < frameSamples) {
    std::copy_n(left, frames, frame_.begin() + buffered_);
    buffered_ += frames;
    return true;
  }
  if (buffered_ > 0) {
    const int fill = frameSamples - buffered_;
    std::copy_n(left, fill, frame_.begin() + buffered_);
    left += fill;
    frames -= fill;
    buffered_ = 0;
    if (!encoder_->Encode(frame_.data())) return Fail(encoder_->ErrorText());
  }
  // Whole frames go to the encoder straight from the caller's block.
  for (; frames >= frameSamples; frames -= frameSamples, left += frameSamples)
    if (!encoder_->Encode(left)) return Fail(encoder_->ErrorText());
  std::copy_n(left, frames, frame_.begin());
  buffered_ = frames;
  return true;
}

bool AmrSink::Close() {
  if (!encoder_) {
    Reset();
    return Fail("The AMR file is not open");
  }
  bool ok = !failed_;
  if (ok && buffered_ > 0) {
    std::fill(frame_.begin() + buffered_, frame_.begin() + format_->frameSamples, int16_t{0});
    ok = encoder_->Encode(frame_.data());
  }
  // The file is closed even after a failure, so that it can be removed.
  ok = encoder_->Quit() && ok;
  if (!ok) Fail(encoder_->ErrorText());
  Reset();
  return ok;
}

}  // namespace quillo
