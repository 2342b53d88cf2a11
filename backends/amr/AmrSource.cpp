#include "backends/amr/AmrSource.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/RegularFile.h"
#include "engine/media/ByteReader.h"

namespace quillo {

void AmrSource::Close() {
  decoder_.reset();
  pendingCount_ = 0;
  ResetState();
}

bool AmrSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  if (!RegularFileProblem(path).empty()) return false;
  const AmrStorageFormat* format = AmrFormatOfHead(ReadFileHead(path, 0, kAmrHeadBytes));
  if (format == nullptr) return false;
  decoder_ = AmrDecoder::Init(*format, path);
  if (!decoder_) return false;

  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  progressTotal_ = ec ? 0 : size;
  progressPosition_ = format->magic.size();
  sampleRate_ = format->sampleRate;
  sourceChannels_ = 1;
  channels_ = 1;
  bitsPerSample_ = 16;
  bytesPerSample_ = 2;
  return true;
}

int AmrSource::Read(int16_t* left, int16_t* /*right*/) {
  if (!decoder_) return 0;
  int delivered = pendingCount_;
  std::copy_n(pending_.begin(), pendingCount_, left);
  pendingCount_ = 0;
  while (delivered < kMaxBlockFrames) {
    const int16_t* samples = nullptr;
    uint64_t position = 0;
    const int count = decoder_->Decode(&samples, &position);
    if (count <= 0) break;
    progressPosition_ = position;
    const int taken = std::min(count, kMaxBlockFrames - delivered);
    std::copy_n(samples, taken, left + delivered);
    delivered += taken;
    pendingCount_ = count - taken;
    std::copy_n(samples + taken, pendingCount_, pending_.begin());
  }
  return delivered;
}

}  // namespace quillo
