#include "backends/ffmpeg/FfmpegInput.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <vector>

#include "base/RegularFile.h"
#include "engine/media/ByteReader.h"

namespace quillo {

namespace {

// The containers Quillo reads: audio files, and the video files whose sound
// it takes. Each of them reads the one file it is given. Left out on purpose:
// playlists and concatenation lists (concat, hls, dash), which open the files
// they name; image sequences and pictures (image2, the *_pipe readers), which
// hold no sound; text, subtitles, raw streams and devices.
constexpr const char* kInputFormats =
    "aac,ac3,eac3,adx,aiff,amr,amrnb,amrwb,ape,asf,au,caf,dsf,dts,dtshd,ea_cdata,flac,gsm,"
    "iff,ircam,libopenmpt,loas,mlp,truehd,mmf,mp3,mpc,mpc8,nistsphere,oma,ogg,qcp,rso,shn,sox,"
    "tak,tta,voc,w64,wav,wv,xwma,avi,dv,flv,matroska,mov,mpeg,mpegts,mxf,nsv,nut,rm,swf,wtv";

// The readers of pictures: a file they take holds no sound.
bool IsPictureFormat(std::string_view name) {
  constexpr std::string_view kPipe = "_pipe";
  const bool pipe = name.size() > kPipe.size() && name.substr(name.size() - kPipe.size()) == kPipe;
  return pipe || name == "image2" || name == "gif" || name == "apng" || name == "ico";
}

// Marks every stream but the first audio stream of a known codec to be
// skipped, so that reading never hands their packets out. A file whose
// header names no such stream keeps them all, for the stream information to
// identify.
void DiscardAllButFirstAudio(AVFormatContext& context) {
  const int keep = FindAudioStream(context, true);
  if (keep < 0) return;
  for (unsigned i = 0; i < context.nb_streams; ++i)
    if (static_cast<int>(i) != keep) context.streams[i]->discard = AVDISCARD_ALL;
}

// Reads the stream information without opening a decoder for a stream that
// is set aside: working it out opens one per stream otherwise, and a
// thousand-track MP4 would take hundreds of megabytes.
bool FindStreamInfo(AVFormatContext& context) {
  // A codec list that names no codec: such a decoder does not open.
  constexpr const char* kNoCodec = "none";
  std::vector<AVDictionary*> options(context.nb_streams, nullptr);
  for (unsigned i = 0; i < context.nb_streams; ++i)
    if (context.streams[i]->discard == AVDISCARD_ALL)
      av_dict_set(&options[i], "codec_whitelist", kNoCodec, 0);
  const int found = avformat_find_stream_info(&context, options.data());
  for (AVDictionary*& dictionary : options) av_dict_free(&dictionary);
  return found >= 0;
}

}  // namespace

InputContextPtr OpenInputFile(const std::string& path, const char* demuxer) {
  // A pipe or device would block the reader or never end; only files qualify.
  if (!RegularFileProblem(path).empty()) return nullptr;

  const AVInputFormat* format = demuxer != nullptr ? av_find_input_format(demuxer) : nullptr;
  if (demuxer != nullptr && format == nullptr) return nullptr;
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  av_dict_set(&options, "format_whitelist", kInputFormats, 0);
  AVFormatContext* raw = nullptr;
  const std::string url = "file:" + path;
  const int opened = avformat_open_input(&raw, url.c_str(), format, &options);
  av_dict_free(&options);
  if (opened < 0) return nullptr;  // FFmpeg freed the context already
  InputContextPtr context(raw);
  DiscardAllButFirstAudio(*context);
  if (!FindStreamInfo(*context)) return nullptr;
  return context;
}

bool IsPictureFile(const std::string& path) {
  if (!RegularFileProblem(path).empty()) return false;
  // The readers look at this much of a file's start to tell its format.
  constexpr size_t kProbeBytes = 4096;
  std::vector<uint8_t> head = ReadFileHead(path, 0, kProbeBytes);
  if (head.empty()) return false;
  const int size = static_cast<int>(head.size());
  head.resize(head.size() + AVPROBE_PADDING_SIZE, 0);
  AVProbeData probe{};
  probe.filename = path.c_str();
  probe.buf = head.data();
  probe.buf_size = size;
  const AVInputFormat* format = av_probe_input_format(&probe, 1);
  return format != nullptr && IsPictureFormat(format->name);
}

int FindAudioStream(const AVFormatContext& context, bool requireCodec) {
  for (unsigned i = 0; i < context.nb_streams; ++i) {
    const AVCodecParameters* parameters = context.streams[i]->codecpar;
    if (parameters->codec_type != AVMEDIA_TYPE_AUDIO) continue;
    if (context.streams[i]->discard == AVDISCARD_ALL) continue;
    if (requireCodec && parameters->codec_id == AV_CODEC_ID_NONE) continue;
    return static_cast<int>(i);
  }
  return -1;
}

AudioProperties ReadAudioProperties(const AVFormatContext& context, int streamIndex) {
  AudioProperties properties;
  if (context.duration != AV_NOPTS_VALUE && context.duration > 0) {
    const int64_t seconds = context.duration / AV_TIME_BASE;
    properties.durationSeconds = seconds > INT_MAX ? INT_MAX : static_cast<int>(seconds);
  }
  if (streamIndex < 0) return properties;

  const AVCodecParameters* parameters = context.streams[streamIndex]->codecpar;
  properties.sampleRate = parameters->sample_rate;
  int64_t bitRate = parameters->bit_rate;
  // Lossless and some variable-rate codecs state no bit rate of their own;
  // in a file that holds nothing else the container's average is the stream's.
  if (bitRate <= 0 && context.nb_streams == 1) bitRate = context.bit_rate;
  if (bitRate > 0)
    properties.bitRateKbps = static_cast<int>(std::min<int64_t>(bitRate / 1000, INT_MAX));
  properties.sourceChannels = parameters->ch_layout.nb_channels;
  properties.channels = properties.sourceChannels < 2 ? 1 : 2;
  return properties;
}

}  // namespace quillo
