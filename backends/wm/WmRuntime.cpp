#include "backends/wm/WmRuntime.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace quillo {

bool WmRuntime::Load() {
  loaded_ = av_find_input_format("asf") != nullptr && av_guess_format("asf", nullptr, nullptr) &&
            avcodec_find_decoder(AV_CODEC_ID_WMAV1) != nullptr &&
            avcodec_find_decoder(AV_CODEC_ID_WMAV2) != nullptr &&
            avcodec_find_encoder(AV_CODEC_ID_WMAV2) != nullptr;
  return loaded_;
}

}  // namespace quillo
