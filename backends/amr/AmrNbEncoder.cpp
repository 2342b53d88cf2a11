#include "backends/amr/AmrNbEncoder.h"

#include <opencore-amrnb/interf_enc.h>

#include <array>
#include <cstdlib>

namespace quillo {

namespace {

// Bit rates of the eight speech modes, in mode order.
constexpr std::array<int, 8> kModeBitRates{4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};

}  // namespace

std::unique_ptr<AmrNbEncoder> AmrNbEncoder::Create(bool dtx) {
  AmrStatePtr state(Encoder_Interface_init(dtx ? 1 : 0), Encoder_Interface_exit);
  if (!state) return nullptr;
  return std::unique_ptr<AmrNbEncoder>(new AmrNbEncoder(std::move(state)));
}

int AmrNbEncoder::ModeForBitRate(int bitsPerSecond) {
  if (bitsPerSecond <= 0) return static_cast<int>(kModeBitRates.size()) - 1;
  int best = 0;
  for (int mode = 1; mode < static_cast<int>(kModeBitRates.size()); ++mode)
    if (std::abs(kModeBitRates[mode] - bitsPerSecond) <
        std::abs(kModeBitRates[best] - bitsPerSecond))
      best = mode;
  return best;
}

int AmrNbEncoder::BitRateOfMode(int mode) {
  return mode >= 0 && mode < static_cast<int>(kModeBitRates.size()) ? kModeBitRates[mode] : 0;
}

int AmrNbEncoder::Encode(int mode, const int16_t* samples, uint8_t* out) {
  return Encoder_Interface_Encode(state_.get(), static_cast<Mode>(mode), samples, out, 0);
}

}  // namespace quillo
