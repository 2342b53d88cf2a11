#include "backends/wm/WmRuntime.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace quillo {

namespace {

bool HasComponents() {
  if (av_find_input_format("asf") == nullptr) return false;
  if (av_guess_format("asf", nullptr, nullptr) == nullptr) return false;
  for (AVCodecID id :
       {AV_CODEC_ID_WMAV1, AV_CODEC_ID_WMAV2, AV_CODEC_ID_WMAPRO, AV_CODEC_ID_WMALOSSLESS})
    if (avcodec_find_decoder(id) == nullptr) return false;
  return avcodec_find_encoder(AV_CODEC_ID_WMAV2) != nullptr;
}

}  // namespace

bool WmRuntime::Load() {
  std::call_once(once_, [this] {
    if (HasComponents() && codecList_.Build()) loaded_.store(true, std::memory_order_release);
  });
  return IsLoaded();
}

std::vector<WindowsMediaFormat> WmRuntime::Formats() const {
  if (!IsLoaded()) return {};
  return codecList_.entries();
}

std::optional<WindowsMediaFormat> WmRuntime::PickFormat(int rate, int bitRate, int channels) const {
  if (!IsLoaded()) return std::nullopt;
  return PickWmFormat(codecList_.entries(), rate, bitRate, channels);
}

}  // namespace quillo
