#include "backends/amr/AmrEncoder.h"

#include <vo-amrwbenc/enc_if.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "backends/amr/AmrNbEncoder.h"

namespace quillo {

namespace {

// Room for the largest frame of either band; generous, as the libraries do
// not take the buffer's size.
constexpr size_t kFrameBufferBytes = 128;

std::string SystemError(int error) {
  return error != 0 ? std::strerror(error) : "The output file could not be written";
}

}  // namespace

AmrEncoder::AmrEncoder(const AmrStorageFormat& format, FileHandle file, bool dtx, int mode)
    : format_(format), file_(std::move(file)), dtx_(dtx), mode_(mode) {}

AmrEncoder::~AmrEncoder() = default;

std::unique_ptr<AmrEncoder> AmrEncoder::Init(const AmrStorageFormat& format,
                                             const std::string& path, bool dtx, int mode,
                                             std::string& error) {
  if (mode < 0 || mode >= format.modes) {
    error = "The AMR mode " + std::to_string(mode) + " does not exist";
    return nullptr;
  }
  errno = 0;
  FileHandle file = OpenFile(path, "wb");
  if (!file) {
    error = SystemError(errno);
    return nullptr;
  }
  std::unique_ptr<AmrEncoder> encoder(new AmrEncoder(format, std::move(file), dtx, mode));
  if (&format == &kAmrWideBand) {
    encoder->wideBand_ = AmrStatePtr(E_IF_init(), E_IF_exit);
    if (!encoder->wideBand_) {
      error = "The AMR-WB encoder could not be created";
      return nullptr;
    }
  } else {
    encoder->narrowBand_ = AmrNbEncoder::Create(dtx);
    if (!encoder->narrowBand_) {
      error = "The AMR-NB encoder could not be created";
      return nullptr;
    }
  }
  if (!encoder->WriteBytes(reinterpret_cast<const uint8_t*>(format.magic.data()),
                           format.magic.size())) {
    error = encoder->ErrorText();
    return nullptr;
  }
  return encoder;
}

bool AmrEncoder::Fail(std::string reason) {
  if (error_.empty()) error_ = std::move(reason);
  return false;
}

bool AmrEncoder::WriteBytes(const uint8_t* bytes, size_t count) {
  if (file_ == nullptr) return Fail("The AMR file is already closed");
  errno = 0;
  if (std::fwrite(bytes, 1, count, file_.get()) != count) return Fail(SystemError(errno));
  return true;
}

bool AmrEncoder::Encode(const int16_t* samples) {
  if (!error_.empty()) return false;  // a file with a gap is no output
  std::array<uint8_t, kFrameBufferBytes> frame{};
  const int bytes = narrowBand_
                        ? narrowBand_->Encode(mode_, samples, frame.data())
                        : E_IF_encode(wideBand_.get(), mode_, samples, frame.data(), dtx_ ? 1 : 0);
  if (bytes <= 0) return Fail("Encoding failed: the AMR encoder refused a frame");
  return WriteBytes(frame.data(), static_cast<size_t>(bytes));
}

bool AmrEncoder::Quit() {
  if (file_ == nullptr) return Fail("The AMR file is already closed");
  // fclose flushes what the stream still holds: where a full disk shows.
  errno = 0;
  const bool closed = std::fclose(file_.release()) == 0;
  if (!closed) return Fail(SystemError(errno));
  return error_.empty();
}

}  // namespace quillo
