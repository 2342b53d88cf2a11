#include "backends/amr/AmrDecoder.h"

#include <opencore-amrnb/interf_dec.h>
#include <opencore-amrwb/dec_if.h>

#include <utility>

namespace quillo {

namespace {

// Both libraries take a frame with its header byte and decode it into one
// frame of samples; their calls differ only in name.
struct BandDecoder {
  void* (*init)();
  void (*decode)(void* state, const unsigned char* frame, short* samples, int badFrame);
  void (*exit)(void* state);
};

constexpr BandDecoder kNarrowBandDecoder{Decoder_Interface_init, Decoder_Interface_Decode,
                                         Decoder_Interface_exit};
constexpr BandDecoder kWideBandDecoder{D_IF_init, D_IF_decode, D_IF_exit};

const BandDecoder& DecoderOf(const AmrStorageFormat& format) {
  return &format == &kAmrWideBand ? kWideBandDecoder : kNarrowBandDecoder;
}

}  // namespace

AmrDecoder::AmrDecoder(const AmrStorageFormat& format, FileHandle file, AmrStatePtr state)
    : format_(format),
      file_(std::move(file)),
      state_(std::move(state)),
      position_(format.magic.size()) {}

std::unique_ptr<AmrDecoder> AmrDecoder::Init(const AmrStorageFormat& format,
                                             const std::string& path) {
  FileHandle file = OpenFile(path, "rb");
  if (!file) return nullptr;
  std::array<char, kAmrHeadBytes> magic{};
  if (std::fread(magic.data(), 1, format.magic.size(), file.get()) != format.magic.size() ||
      std::string_view(magic.data(), format.magic.size()) != format.magic)
    return nullptr;
  const BandDecoder& band = DecoderOf(format);
  AmrStatePtr state(band.init(), band.exit);
  if (!state) return nullptr;
  return std::unique_ptr<AmrDecoder>(new AmrDecoder(format, std::move(file), std::move(state)));
}

int AmrDecoder::Decode(const int16_t** samples, uint64_t* position) {
  for (;;) {
    const int header = std::fgetc(file_.get());
    if (header == EOF) return 0;
    ++position_;
    const int type = AmrFrameType(static_cast<uint8_t>(header));
    const size_t payload = format_.frameBytes[type] - 1u;
    frame_[0] = AmrCleanHeader(static_cast<uint8_t>(header));
    if (std::fread(frame_.data() + 1, 1, payload, file_.get()) != payload) return 0;
    position_ += payload;
    // A reserved type still stands for a frame's time: decode it as one
    // without data.
    if ((format_.decodedTypes & (1u << type)) == 0) frame_[0] = kAmrNoDataHeader;
    DecoderOf(format_).decode(state_.get(), frame_.data(), samples_.data(), 0);
    *samples = samples_.data();
    *position = position_;
    return format_.frameSamples;
  }
}

}  // namespace quillo
