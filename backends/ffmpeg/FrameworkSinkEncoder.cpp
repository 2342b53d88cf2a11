#include "backends/ffmpeg/FrameworkSinkEncoder.h"

#include <utility>

#include "backends/ffmpeg/AmrNbStreamEncoder.h"
#include "backends/ffmpeg/FrameworkSinkCodec.h"
#include "catalog/CodecIds.h"

namespace quillo {

std::unique_ptr<FrameworkSinkEncoder> OpenFrameworkSinkEncoder(const EncoderSettings& settings,
                                                               AVCodecParameters* parameters,
                                                               PacketWriter writer,
                                                               std::string& error) {
  if (settings.storedCodecId == codec_id::kAmrNb)
    return AmrNbStreamEncoder::Open(settings, parameters, std::move(writer), error);
  return FrameworkSinkCodec::Open(settings, parameters, std::move(writer), error);
}

}  // namespace quillo
