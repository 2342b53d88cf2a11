#include "engine/OutputSelection.h"

#include <algorithm>
#include <array>

#include "catalog/Catalog.h"

namespace quillo {

int DefaultBitRate(int rate, int channels) {
  struct Step {
    int upTo;
    int mono;
    int stereo;
  };
  static constexpr Step kSteps[] = {{12000, 24000, 48000},
                                    {16000, 32000, 56000},
                                    {24000, 48000, 64000},
                                    {32000, 64000, 96000},
                                    {44100, 96000, 128000}};
  for (const Step& step : kSteps)
    if (rate <= step.upTo) return channels == 1 ? step.mono : step.stereo;
  return channels == 1 ? 128000 : 192000;
}

namespace {

std::optional<OutputSelection> SelectAmr(const OutputFormat& row, int refChannels,
                                         SelectionMode mode, const ConversionSettings& settings,
                                         const BackendTable& backends) {
  OutputSelection out;
  out.sink = backends.MakeSink(FormatBackend::Amr);
  if (!out.sink) return std::nullopt;
  SinkOptions options;
  options.amrMode = settings.amrMode;
  if (row.formatId == format_id::kAmr) {
    options.narrowBand = settings.amrType == AmrBand::Narrow ? 1 : 0;
    options.dtx = settings.amrDtx;
    options.wideBandMode = settings.amrWbMode;
  } else {
    options.narrowBand = 0;
    options.dtx = settings.awbDtx;
    options.wideBandMode = settings.awbMode;
  }
  out.sink->SetCodecOptions(options);
  out.rate = RenderRate(row, settings);
  out.channels = 1;
  // AMR is mono: a stereo source gives one channel alone unless the two are
  // mixed.
  out.pickChannel = mode == SelectionMode::PerFile && refChannels == 2 &&
                    settings.monoType != MonoMixMode::Average;
  return out;
}

// The row's codec for audio of `reference`'s resolution. On automatic
// settings a row of linear integer PCM keeps the depth of wide audio: it takes
// its own PCM codec of that depth (24-bit, 32-bit, 32- or 64-bit float) where
// it has one. A codec chosen by hand, and 16-bit audio, keep the row's codec.
int32_t CodecFor(const OutputFormat& row, const SampleFormat& reference) {
  using namespace codec_id;
  static constexpr std::array kIntegerPcm = {kPcmU8,    kPcmS8,    kPcmS16Le, kPcmS16Be,
                                             kPcmS24Le, kPcmS24Be, kPcmS32Le, kPcmS32Be};
  if (row.autoEncParam == 0 || !reference.IsWide() ||
      std::find(kIntegerPcm.begin(), kIntegerPcm.end(), row.codecId) == kIntegerPcm.end())
    return row.codecId;
  // Each row holds one byte order: the little- or the big-endian codec.
  std::array<int32_t, 2> wanted = {kPcmS24Le, kPcmS24Be};
  if (reference.isFloat && reference.bits > 32)
    wanted = {kPcmF64Le, kPcmF64Be};
  else if (reference.isFloat)
    wanted = {kPcmF32Le, kPcmF32Be};
  else if (reference.bits > 24)
    wanted = {kPcmS32Le, kPcmS32Be};
  for (const CodecChoice* choice : row.codecChoices)
    if (choice->codecId == wanted[0] || choice->codecId == wanted[1]) return choice->codecId;
  return row.codecId;
}

std::optional<OutputSelection> SelectFramework(const OutputFormat& row, int refRate,
                                               int refChannels, const SampleFormat& refFormat,
                                               SelectionMode mode,
                                               const ConversionSettings& settings,
                                               const BackendTable& backends) {
  const int32_t codecId = CodecFor(row, refFormat);
  const CodecChoice* choice = FindCodecChoice(row, codecId);
  if (choice == nullptr) return std::nullopt;
  OutputSelection out;
  out.sink = backends.MakeSink(FormatBackend::Framework);
  if (!out.sink) return std::nullopt;
  SinkOptions options;
  options.containerName = std::string(row.containerName);
  options.codecId = codecId;
  options.variableBitRate = settings.opusVbr;
  options.compressionLevel = settings.wavPackCompression;
  out.sink->SetCodecOptions(options);

  int wantedRate = refRate;
  int wantedChannels = refChannels;
  if (row.autoEncParam == 0) {
    if (row.sampleRate != 0) wantedRate = row.sampleRate;
    if (row.channels != 0) wantedChannels = row.channels;
  }
  out.rate = NearestSupported(choice->sampleRates, wantedRate);
  out.channels = wantedChannels;
  if (out.channels == 2 && (choice->channelMask & kStereoAllowed) == 0) out.channels = 1;
  if (out.channels == 1 && (choice->channelMask & kMonoAllowed) == 0) out.channels = 2;

  if (row.autoEncParam == 0 && row.bitRate != 0)
    out.bitRate = row.bitRate;
  else if (choice->bitRates != nullptr)
    out.bitRate = DefaultBitRate(out.rate, out.channels);
  out.bitRate = NearestSupported(choice->bitRates, out.bitRate);

  out.pickChannel = mode == SelectionMode::PerFile && out.channels < refChannels &&
                    settings.monoType != MonoMixMode::Average;
  out.sink->SetSampleRate(out.rate);
  out.sink->SetChannels(out.channels);
  out.sink->SetBitRate(out.bitRate);
  return out;
}

// The rate and bit rate the Windows Media rows choose for themselves.
void AutomaticWindowsMedia(int refRate, int channels, int& rate, int& bitRate) {
  struct Step {
    int upTo;
    int rate;
    int mono;
    int stereo;
  };
  static constexpr Step kSteps[] = {{12000, 22050, 20000, 32000},
                                    {16000, 44100, 32000, 48000},
                                    {24000, 44100, 48000, 64000},
                                    {32000, 44100, 48000, 96000},
                                    {44100, 44100, 48000, 128000}};
  for (const Step& step : kSteps) {
    if (refRate > step.upTo) continue;
    rate = step.rate;
    bitRate = channels == 1 ? step.mono : step.stereo;
    return;
  }
  rate = channels == 1 ? 44100 : 48000;
  bitRate = channels == 1 ? 48000 : 192000;
}

std::optional<OutputSelection> SelectWindowsMedia(int refRate, int refChannels, SelectionMode mode,
                                                  const ConversionSettings& settings,
                                                  const BackendTable& backends) {
  const WindowsMediaRuntime* runtime = backends.windowsMedia;
  if (runtime == nullptr) return std::nullopt;
  int rate = 0;
  int bitRate = 0;
  int channels = refChannels;
  bool pick = false;
  if (settings.wmaAutoEncParam != 0) {
    AutomaticWindowsMedia(refRate, channels, rate, bitRate);
  } else {
    rate = settings.wmaSampleRate;
    bitRate = settings.wmaBitRate;
    channels = settings.wmaChannels;
    pick = mode == SelectionMode::PerFile && channels < refChannels &&
           settings.monoType != MonoMixMode::Average;
  }
  const std::optional<WindowsMediaFormat> format = runtime->PickFormat(rate, bitRate, channels);
  if (!format) return std::nullopt;
  OutputSelection out;
  out.sink = backends.MakeSink(FormatBackend::WindowsMedia);
  if (!out.sink) return std::nullopt;
  out.bitRate = format->bitRate;
  out.pickChannel = pick;
  if (mode == SelectionMode::PerFile) {
    // The writer converts the rate and the channel count itself: it gets
    // the source's rate, and both channels of a pair unless one is picked
    // (one channel for a two-channel format is doubled on the way).
    const int routed = pick ? 1 : refChannels;
    out.rate = refRate;
    out.channels = routed < channels ? 2 : routed;
  } else {
    out.rate = rate;
    out.channels = channels;
  }
  out.sink->SetSampleRate(out.rate);
  out.sink->SetChannels(out.channels);
  out.sink->SetBitRate(out.bitRate);
  SinkOptions options;
  options.windowsMediaFormat = *format;
  out.sink->SetCodecOptions(options);
  return out;
}

}  // namespace

int RenderRate(const OutputFormat& row, const ConversionSettings& settings) {
  if (row.formatId == format_id::kAmr) return settings.amrType == AmrBand::Wide ? 16000 : 8000;
  if (row.formatId == format_id::kAwb) return 16000;
  if (row.autoEncParam) return 44100;
  return row.sampleRate > 0 ? row.sampleRate : 44100;
}

std::optional<OutputSelection> SelectOutput(const OutputFormat& row, int referenceRate,
                                            int referenceChannels, SelectionMode mode,
                                            const ConversionSettings& settings,
                                            const BackendTable& backends,
                                            const SampleFormat& referenceFormat) {
  std::optional<OutputSelection> out;
  switch (row.backend) {
    case FormatBackend::Amr:
      out = SelectAmr(row, referenceChannels, mode, settings, backends);
      break;
    case FormatBackend::WindowsMedia:
      out = SelectWindowsMedia(referenceRate, referenceChannels, mode, settings, backends);
      break;
    case FormatBackend::Framework:
      out = SelectFramework(row, referenceRate, referenceChannels, referenceFormat, mode, settings,
                            backends);
      break;
  }
  if (out) out->sink->SetSampleFormat(referenceFormat);
  return out;
}

}  // namespace quillo
