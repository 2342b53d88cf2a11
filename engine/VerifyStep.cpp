#include "engine/VerifyStep.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/media/FixedText.h"
#include "engine/media/SampleHash.h"
#include "engine/media/SourceKind.h"

namespace quillo {

const char* const kVerificationFailedDetail = "Verification failed: ";

namespace {

// How many frames more or fewer than it was given a lossy output may decode
// to. Decoders drop the priming they know of, but not always the padding of
// the last frame: measured over the lossy rows, ADTS AAC decodes 1789 frames
// long (its priming and padding), MP3 in AVI, FLV and SWF 1533, AC-3 765, AMR
// in 3GP 138, MP2 381. A lost or doubled frame of a long stream, or a stream
// cut short, is caught all the same.
constexpr int64_t kLossyToleranceFrames = 4096;

// Formats that store the rate as a coarse divisor (VOC: 1 MHz over a byte)
// play a little off the rate written; more than this share is a fault.
constexpr double kRateTolerance = 0.01;

// What one read of the output gave.
struct Decoded {
  int64_t frames = 0;
  SampleHash hash;
};

// Reads `source` to its end, hashing its samples; false when cancelled.
bool ReadAll(MediaSource& source, Decoded& decoded, ConversionProgress& progress) {
  const int channels = source.GetChannels();
  if (source.GetSampleFormat().IsWide()) {
    std::vector<double> left(kMaxBlockFrames), right(kMaxBlockFrames);
    for (int n; (n = source.ReadWide(left.data(), right.data())) > 0;) {
      decoded.hash.AddBlock(left.data(), right.data(), n, channels, 1.0);
      decoded.frames += n;
      if (progress.IsCancelled()) return false;
    }
    return true;
  }
  std::vector<int16_t> left(kMaxBlockFrames), right(kMaxBlockFrames);
  for (int n; (n = source.Read(left.data(), right.data())) > 0;) {
    decoded.hash.AddBlock(left.data(), right.data(), n, channels, 1.0 / 32768.0);
    decoded.frames += n;
    if (progress.IsCancelled()) return false;
  }
  return true;
}

std::string Failure(const std::string& what) { return kVerificationFailedDetail + what; }

}  // namespace

std::optional<std::string> VerifyOutput(const std::string& outputPath,
                                        const std::optional<WrittenAudio>& written,
                                        PassContext& context) {
  const int renderRate = written ? written->rate : 0;
  OpenedSource opened =
      context.factory.Open(outputPath, SourceKindFromPath(outputPath), renderRate, true);
  if (!opened.source)
    return Failure("the output cannot be decoded" +
                   (opened.detail.empty() ? std::string() : ": " + opened.detail));
  MediaSource& source = *opened.source;
  Decoded decoded;
  if (!ReadAll(source, decoded, context.progress)) return std::nullopt;
  if (const std::optional<EarlyEnd> early = source.EndedEarly())
    return Failure("decoding stopped on damaged data after " + FixedText(early->decodedSeconds, 1) +
                   " s");
  if (decoded.frames == 0) return Failure("the output holds no audio");
  if (!written) return std::nullopt;
  const int rate = source.GetSampleRate();
  if (std::abs(rate - written->rate) > written->rate * kRateTolerance ||
      source.GetChannels() != written->channels)
    return Failure("the output decodes at " + std::to_string(source.GetSampleRate()) + " Hz, " +
                   std::to_string(source.GetChannels()) + " channels; " +
                   std::to_string(written->rate) + " Hz, " + std::to_string(written->channels) +
                   " were written");
  const std::string lengths = "the output decodes to " + std::to_string(decoded.frames) +
                              " samples, " + std::to_string(written->frames) + " were written";
  if (written->lossless) {
    if (decoded.frames != written->frames) return Failure(lengths);
    if (decoded.hash.value() != written->hash)
      return Failure("the decoded samples differ from those written");
    return std::nullopt;
  }
  if (std::llabs(decoded.frames - written->frames) > kLossyToleranceFrames) return Failure(lengths);
  return std::nullopt;
}

}  // namespace quillo
