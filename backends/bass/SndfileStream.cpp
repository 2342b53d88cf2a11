#include "backends/bass/SndfileStream.h"

#include <sndfile.h>

#include <cstring>
#include <utility>

#include "backends/bass/FormatSniff.h"
#include "base/RegularFile.h"
#include "engine/media/ByteReader.h"
#include "engine/media/ChannelOrder.h"
#include "engine/media/MediaSource.h"
#include "engine/media/SampleScale.h"

namespace quillo::audio {

namespace {

// A signed 16-bit sample of 8-bit data as the unsigned byte it came from.
uint8_t S16ToU8(int16_t value) { return static_cast<uint8_t>((value >> 8) + 128); }

// What a RIFF WAVE file's header states of its length: the frame count of
// its "fact" chunk (0 when it has none before its data) and the size of its
// "data" chunk (0 when not found). Chunk headers come from `head`, the
// file's first bytes, and from the file itself where they lie past it.
struct WaveCounts {
  uint64_t factFrames = 0;
  uint64_t dataBytes = 0;
};

WaveCounts ReadWaveCounts(const std::string& path, std::span<const uint8_t> head) {
  WaveCounts counts;
  ByteReader form(head);
  if (form.Tag() != "RIFF" || !form.Skip(4) || form.Tag() != "WAVE") return counts;
  uint64_t offset = 12;
  for (int chunk = 0; chunk < 64; ++chunk) {
    const bool inHead = offset + 12 <= head.size();
    const std::vector<uint8_t> pastHead =
        inHead ? std::vector<uint8_t>() : ReadFileHead(path, offset, 12);
    ByteReader header(inHead ? head.subspan(offset, 12) : std::span<const uint8_t>(pastHead));
    const std::optional<std::string_view> id = header.Tag();
    const std::optional<uint32_t> size = header.U32(ByteOrder::Little);
    if (!size) return counts;
    if (id == "data") {
      counts.dataBytes = *size;
      return counts;
    }
    if (id == "fact" && *size >= 4) counts.factFrames = header.U32(ByteOrder::Little).value_or(0);
    offset += 8 + uint64_t{*size} + (*size & 1);
  }
  return counts;
}

// Whether a WAV file holds a LIST chunk whose sub-chunks claim more bytes
// than the list has. libsndfile's header parser adds such sizes up in 32
// bits and, once they wrap around, never gets past the list: opening the
// file would hang. The framework reads these files instead.
bool HasOverlongListEntry(const std::string& path, std::span<const uint8_t> head) {
  ByteReader form(head);
  const std::optional<std::string_view> riff = form.Tag();
  if ((riff != "RIFF" && riff != "RF64") || !form.Skip(4) || form.Tag() != "WAVE") return false;
  constexpr size_t kMaxListBytes = 1 << 20;  // beyond this the entries go unchecked
  uint64_t offset = 12;
  for (int chunk = 0; chunk < 64; ++chunk) {
    const std::vector<uint8_t> header = ReadFileHead(path, offset, 8);
    ByteReader reader(header);
    const std::optional<std::string_view> id = reader.Tag();
    const std::optional<uint32_t> size = reader.U32(ByteOrder::Little);
    if (!size || id == "data") return false;
    if (id == "LIST" && *size > 4) {
      const std::vector<uint8_t> list =
          ReadFileHead(path, offset + 12, std::min<size_t>(*size - 4, kMaxListBytes));
      uint64_t left = *size - 4;  // after the list's type
      ByteReader entries(list);
      while (left >= 8) {
        const std::optional<uint32_t> entrySize =
            entries.Skip(4) ? entries.U32(ByteOrder::Little) : std::nullopt;
        if (!entrySize) break;
        if (*entrySize > left - 8) return true;
        const uint64_t step = 8 + uint64_t{*entrySize} + (*entrySize & 1);
        if (step >= left || !entries.Skip(step - 8)) break;
        left -= step;
      }
    }
    offset += 8 + uint64_t{*size} + (*size & 1);
  }
  return false;
}

// Bytes per sample of the plain PCM encodings; 0 for the others.
int PcmWidth(int minor) {
  switch (minor) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
      return 1;
    case SF_FORMAT_PCM_16:
      return 2;
    case SF_FORMAT_PCM_24:
      return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
      return 4;
    case SF_FORMAT_DOUBLE:
      return 8;
    default:
      return 0;
  }
}

// The speaker of each libsndfile channel map entry, as a WAV mask bit.
int SpeakerOf(int entry) {
  constexpr std::pair<int, int> kSpeakers[] = {
      {SF_CHANNEL_MAP_LEFT, 0},
      {SF_CHANNEL_MAP_FRONT_LEFT, 0},
      {SF_CHANNEL_MAP_RIGHT, 1},
      {SF_CHANNEL_MAP_FRONT_RIGHT, 1},
      {SF_CHANNEL_MAP_MONO, 2},
      {SF_CHANNEL_MAP_CENTER, 2},
      {SF_CHANNEL_MAP_FRONT_CENTER, 2},
      {SF_CHANNEL_MAP_LFE, 3},
      {SF_CHANNEL_MAP_REAR_LEFT, 4},
      {SF_CHANNEL_MAP_REAR_RIGHT, 5},
      {SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER, 6},
      {SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER, 7},
      {SF_CHANNEL_MAP_REAR_CENTER, 8},
      {SF_CHANNEL_MAP_SIDE_LEFT, 9},
      {SF_CHANNEL_MAP_SIDE_RIGHT, 10},
      {SF_CHANNEL_MAP_TOP_CENTER, 11},
      {SF_CHANNEL_MAP_TOP_FRONT_LEFT, 12},
      {SF_CHANNEL_MAP_TOP_FRONT_CENTER, 13},
      {SF_CHANNEL_MAP_TOP_FRONT_RIGHT, 14},
      {SF_CHANNEL_MAP_TOP_REAR_LEFT, 15},
      {SF_CHANNEL_MAP_TOP_REAR_CENTER, 16},
      {SF_CHANNEL_MAP_TOP_REAR_RIGHT, 17},
  };

  for (const auto& [mapEntry, speaker] : kSpeakers)
    if (mapEntry == entry) return speaker;
  return kUnknownSpeaker;
}

// The speaker of each channel: by the channel map the file declares; Vorbis
// and Opus streams, for which the library reports none, keep the Vorbis order.
std::vector<int> SpeakersOf(SNDFILE* file, int format, int channels) {
  if (channels < 3 || channels > 8) return {};
  std::vector<int> map(static_cast<size_t>(channels), SF_CHANNEL_MAP_INVALID);
  if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(),
                 static_cast<int>(map.size() * sizeof(int))) == SF_TRUE) {
    std::vector<int> speakers;
    for (int entry : map) speakers.push_back(SpeakerOf(entry));
    return speakers;
  }
  const int minor = format & SF_FORMAT_SUBMASK;
  if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG &&
      (minor == SF_FORMAT_VORBIS || minor == SF_FORMAT_OPUS))
    return VorbisSpeakers(channels);
  return {};
}

// The resolution of the encodings that hold more than 16 bits; 16-bit for
// the others, which are read as 16-bit (or 8-bit) samples.
SampleFormat FormatOf(int minor) {
  switch (minor) {
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_ALAC_20:
    case SF_FORMAT_ALAC_24:
      return {24, false};
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_ALAC_32:
      return {32, false};
    case SF_FORMAT_FLOAT:
      return {32, true};
    case SF_FORMAT_DOUBLE:
      return {64, true};
    default:
      return {};
  }
}

bool IsBlockCoded(int minor) {
  return minor == SF_FORMAT_IMA_ADPCM || minor == SF_FORMAT_MS_ADPCM || minor == SF_FORMAT_GSM610 ||
         minor == SF_FORMAT_G721_32 || minor == SF_FORMAT_G723_24 || minor == SF_FORMAT_G723_40;
}

}  // namespace

std::unique_ptr<AudioStream> SndfileStream::Open(const std::string& path,
                                                 std::span<const uint8_t> head) {
  if (!RegularFileProblem(path).empty() || HasOverlongListEntry(path, head)) return nullptr;
  SF_INFO sfInfo{};
  SndfilePtr opened(sf_open(path.c_str(), SFM_READ, &sfInfo));
  if (!opened) return nullptr;
  std::unique_ptr<SndfileStream> stream(new SndfileStream);
  stream->file_ = std::move(opened);
  SNDFILE* file = stream->file_.get();

  const int major = sfInfo.format & SF_FORMAT_TYPEMASK;
  const int minor = sfInfo.format & SF_FORMAT_SUBMASK;
  // MPEG audio goes to the MPEG decoder, which trims encoder delay and padding.
  if (major == SF_FORMAT_MPEG) return nullptr;
  // FLAC goes to the FLAC decoder, which passes over damaged frames.
  if (major == SF_FORMAT_FLAC) return nullptr;
  if (minor == SF_FORMAT_MPEG_LAYER_I || minor == SF_FORMAT_MPEG_LAYER_II ||
      minor == SF_FORMAT_MPEG_LAYER_III)
    return nullptr;
  if (sfInfo.channels < 1 || sfInfo.channels > 64 || !IsSaneSampleRate(sfInfo.samplerate) ||
      sfInfo.frames <= 0)
    return nullptr;

  bool eightBits = false;
  const SampleFormat format = FormatOf(minor);
  switch (minor) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
      stream->reader_ = Reader::EightBit;
      eightBits = true;
      break;
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
    case SF_FORMAT_VORBIS:
    case SF_FORMAT_OPUS:
      stream->reader_ = Reader::Float;
      break;
    default:
      stream->reader_ = Reader::Short;
      break;
  }
  if (format.IsWide()) stream->reader_ = Reader::Wide;
  auto frames = static_cast<uint64_t>(sfInfo.frames);
  const WaveCounts counts = ReadWaveCounts(path, head);
  if (IsBlockCoded(minor) && counts.factFrames > 0 && counts.factFrames < frames)
    frames = counts.factFrames;
  stream->info_ = {sfInfo.samplerate, sfInfo.channels, eightBits, format};
  stream->speakers_ = SpeakersOf(file, sfInfo.format, sfInfo.channels);
  stream->SetFrames(frames);
  // The library reads a file cut short as far as it goes; the data chunk
  // still states the whole length, unless it was written without one: 0 or
  // the placeholders of recorders that could not go back to fill it in.
  const auto width = static_cast<uint64_t>(PcmWidth(minor));
  const bool stated =
      counts.dataBytes > 0 && counts.dataBytes != 0xFFFFFFFF && counts.dataBytes != 0x7FFFFFFF;
  if (width > 0 && stated)
    stream->announced_ = counts.dataBytes / (width * static_cast<uint64_t>(sfInfo.channels)) *
                         static_cast<uint64_t>(stream->BytesPerFrame());
  stream->fileSize_ = FileSizeOf(path);
  return stream;
}

size_t SndfileStream::Decode(uint8_t* buffer, size_t bytes) {
  const size_t frames = FramesToDecode(bytes, framesLeft_);
  if (frames == 0) return 0;
  const auto perFrame = static_cast<size_t>(BytesPerFrame());
  const auto channels = static_cast<size_t>(info_.chans);
  const size_t samples = frames * channels;
  sf_count_t got = 0;
  switch (reader_) {
    case Reader::Short:
      got = sf_readf_short(file_.get(), reinterpret_cast<short*>(buffer),
                           static_cast<sf_count_t>(frames));
      break;
    case Reader::EightBit: {
      if (shorts_.size() < samples) shorts_.resize(samples);
      got = sf_readf_short(file_.get(), shorts_.data(), static_cast<sf_count_t>(frames));
      for (size_t i = 0; i < static_cast<size_t>(got) * channels; ++i)
        buffer[i] = S16ToU8(shorts_[i]);
      break;
    }
    case Reader::Float: {
      if (floats_.size() < samples) floats_.resize(samples);
      got = sf_readf_float(file_.get(), floats_.data(), static_cast<sf_count_t>(frames));
      for (size_t i = 0; i < static_cast<size_t>(got) * channels; ++i) {
        const int16_t sample = FloatToS16(floats_[i]);
        std::memcpy(buffer + 2 * i, &sample, 2);
      }
      break;
    }
    case Reader::Wide:
      // Integers come back divided by 2^31 after being aligned to 32 bits,
      // floats as stored: both exact in a double.
      got = sf_readf_double(file_.get(), reinterpret_cast<double*>(buffer),
                            static_cast<sf_count_t>(frames));
      break;
  }
  if (got <= 0) {
    stoppedOnError_ = sf_error(file_.get()) != SF_ERR_NO_ERROR;
    return 0;
  }
  framesLeft_ -= static_cast<uint64_t>(got);
  return static_cast<size_t>(got) * perFrame;
}

void ReleaseHandle(SNDFILE* file) { sf_close(file); }

}  // namespace quillo::audio
