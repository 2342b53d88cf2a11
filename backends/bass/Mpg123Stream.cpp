#include "backends/bass/Mpg123Stream.h"

#include <mpg123.h>

#include "base/RegularFile.h"
#include "engine/media/MediaSource.h"

namespace quillo::audio {

std::unique_ptr<AudioStream> Mpg123Stream::Open(const std::string& path) {
  if (!RegularFileProblem(path).empty()) return nullptr;
  int error = MPG123_OK;
  Mpg123Ptr created(mpg123_new(nullptr, &error));
  if (!created) return nullptr;
  std::unique_ptr<Mpg123Stream> stream(new Mpg123Stream);
  stream->handle_ = std::move(created);
  mpg123_handle* handle = stream->handle_.get();

  // The tags are read elsewhere: the decoder only skips an ID3v2 tag, so that
  // a huge one costs it no memory.
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_SKIP_ID3V2, 0.0);
  // Signed 16-bit at the file's own rate and channel count, nothing else.
  mpg123_format_none(handle);
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (size_t i = 0; i < rateCount; ++i)
    mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

  if (mpg123_open(handle, path.c_str()) != MPG123_OK) return nullptr;
  // The length an encoder's info frame states (its encoder delay is known
  // then); without one the length is only an estimate from the bit rate.
  const off_t stated = mpg123_length(handle);
  long delay = -1;
  double unused = 0.0;
  const bool hasInfoFrame =
      mpg123_getstate(handle, MPG123_ENC_DELAY, &delay, &unused) == MPG123_OK && delay >= 0;
  // Scanning every frame gives the exact, gapless length.
  if (mpg123_scan(handle) != MPG123_OK) return nullptr;
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK) return nullptr;
  if (encoding != MPG123_ENC_SIGNED_16 || channels < 1 || channels > 2 ||
      !IsSaneSampleRate(static_cast<int>(rate)))
    return nullptr;
  const off_t samples = mpg123_length(handle);
  if (samples <= 0) return nullptr;

  stream->info_ = {static_cast<int>(rate), channels, false, {}};
  stream->length_ = static_cast<uint64_t>(samples) * static_cast<uint64_t>(channels) * 2;
  if (hasInfoFrame && stated > 0)
    stream->announced_ = static_cast<uint64_t>(stated) * static_cast<uint64_t>(channels) * 2;
  stream->fileSize_ = FileSizeOf(path);
  return stream;
}

size_t Mpg123Stream::Decode(uint8_t* buffer, size_t bytes) {
  size_t filled = 0;
  while (filled < bytes && !ended_) {
    size_t done = 0;
    const int result = mpg123_read(handle_.get(), buffer + filled, bytes - filled, &done);
    filled += done;
    if (result == MPG123_NEW_FORMAT) {
      long rate = 0;
      int channels = 0;
      int encoding = 0;
      mpg123_getformat(handle_.get(), &rate, &channels, &encoding);
      // A stream that changes its rate or channel count midway ends there.
      if (rate != info_.freq || channels != info_.chans) ended_ = true;
    } else if (result != MPG123_OK) {
      ended_ = true;  // MPG123_DONE, or a decoding error
      stoppedOnError_ = result != MPG123_DONE;
    } else if (done == 0) {
      ended_ = true;
    }
  }
  return filled - filled % static_cast<size_t>(BytesPerFrame());
}

void ReleaseHandle(mpg123_handle* handle) {
  mpg123_close(handle);
  mpg123_delete(handle);
}

}  // namespace quillo::audio
