#include "backends/ffmpeg/OggVorbisSource.h"

// Our own callbacks open the file; the header's static ones would go unused.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <string_view>

#include "base/AsciiCase.h"
#include "base/RegularFile.h"
#include "engine/media/ChannelOrder.h"
#include "engine/media/Downmix.h"
#include "engine/media/Utf8.h"

namespace quillo {
namespace {

// Comments longer than this are no tag texts.
constexpr size_t kMaxCommentBytes = 1000;
// A damaged stream reports a hole and decoding goes on after it; a stream
// that does nothing but fail this many times in a row has ended.
constexpr int kMaxFailedReads = 32;
// Bytes asked of the decoder per read: a mono block, or the whole buffer.
constexpr int kMonoRequestBytes = kMaxBlockFrames * 2;

size_t ReadFile(void* into, size_t size, size_t count, void* file) {
  return std::fread(into, size, count, static_cast<std::FILE*>(file));
}
int SeekFile(void* file, ogg_int64_t offset, int whence) {
  return fseeko(static_cast<std::FILE*>(file), static_cast<off_t>(offset), whence);
}
long TellFile(void* file) { return static_cast<long>(ftello(static_cast<std::FILE*>(file))); }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return AsciiUpper(text.substr(0, prefix.size())) == AsciiUpper(prefix);
}

}  // namespace

void OggVorbisSource::VorbisFileCloser::operator()(OggVorbis_File* file) const {
  ov_clear(file);
  delete file;
}

void OggVorbisSource::Close() {
  file_.reset();
  stream_.reset();
  comments_.clear();
  pendingStart_ = 0;
  pendingFrames_ = 0;
  pendingChannels_ = 0;
  fold_ = StereoFold();
  linkRate_ = 0;
  resampler_.Configure(0, 0, 0, 0);
  queuedLeft_.clear();
  queuedRight_.clear();
  queuedStart_ = 0;
  ResetState();
}

bool OggVorbisSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  uint64_t fileSize = 0;
  FileHandle stream = OpenRegularFile(path, fileSize);
  if (!stream) return false;
  // The decoder only reads the stream (no close callback): its owner closes
  // it after the decoder is cleared.
  std::unique_ptr<OggVorbis_File, VorbisFileCloser> file(new OggVorbis_File{});
  const ov_callbacks callbacks = {ReadFile, SeekFile, nullptr, TellFile};
  if (ov_open_callbacks(stream.get(), file.get(), nullptr, 0, callbacks) < 0) return false;
  // Opening a chained file leaves the decoder in its last link; reading
  // would begin there and pass over every link before it.
  if (ov_seekable(file.get()) != 0 && ov_streams(file.get()) > 1 && ov_pcm_seek(file.get(), 0) != 0)
    return false;
  const vorbis_info* streamInfo = ov_info(file.get(), -1);
  if (streamInfo == nullptr || streamInfo->channels < 1) return false;

  // Comments are UTF-8 already; one that is not is dropped, as is a long one.
  if (const vorbis_comment* comments = ov_comment(file.get(), -1); comments != nullptr) {
    for (int i = 0; i < comments->comments; ++i) {
      const int length = comments->comment_lengths[i];
      if (length < 0 || static_cast<size_t>(length) > kMaxCommentBytes) continue;
      std::string text(comments->user_comments[i], static_cast<size_t>(length));
      // A comment ends at a NUL, as the text it is copied into does.
      text.resize(std::min(text.size(), text.find('\0')));
      if (IsValidUtf8(text)) comments_.push_back(std::move(text));
    }
  }

  sampleRate_ = static_cast<int>(std::min<long>(streamInfo->rate, INT_MAX));
  sourceChannels_ = streamInfo->channels;
  channels_ = streamInfo->channels < 3 ? streamInfo->channels : 2;
  bitsPerSample_ = 16;
  bytesPerSample_ = 2;
  long bitRate = streamInfo->bitrate_nominal;
  // A stream without a nominal rate still has an average one.
  if (bitRate <= 0) bitRate = ov_bitrate(file.get(), -1);
  bitRate_ = bitRate > 0 ? static_cast<int>(std::min<long>(bitRate / 1000, INT_MAX)) : 0;
  const double seconds = ov_time_total(file.get(), -1);
  duration_ = seconds > 0 ? static_cast<int>(std::min<double>(seconds, INT_MAX)) : 0;
  // The decoder's total leaves out the header pages that its position
  // counts; the file's size is where that position ends.
  progressTotal_ = fileSize;
  stream_ = std::move(stream);
  file_ = std::move(file);
  return true;
}

uint64_t OggVorbisSource::GetProgressPosition() {
  if (!file_) return 0;
  const ogg_int64_t position = ov_raw_tell(file_.get());
  return position > 0 ? static_cast<uint64_t>(position) : 0;
}

bool OggVorbisSource::Decode() {
  const vorbis_info* current = ov_info(file_.get(), -1);
  const int request = current != nullptr && current->channels == 1
                          ? kMonoRequestBytes
                          : static_cast<int>(interleave_.size() * sizeof(int16_t));
  const int bigEndian = std::endian::native == std::endian::big ? 1 : 0;
  for (int failures = 0; failures < kMaxFailedReads;) {
    int link = 0;
    const long got = ov_read(file_.get(), reinterpret_cast<char*>(interleave_.data()), request,
                             bigEndian, 2, 1, &link);
    if (got == 0) return false;
    if (got < 0) {
      ++failures;
      continue;
    }
    // A chained file may change its format from one link to the next: the
    // samples are read by their own link's channel count and rate.
    const vorbis_info* linkInfo = ov_info(file_.get(), link);
    if (linkInfo == nullptr || linkInfo->channels < 1 || linkInfo->rate > INT_MAX ||
        !IsSaneSampleRate(static_cast<int>(linkInfo->rate)))
      return false;
    linkRate_ = static_cast<int>(linkInfo->rate);
    if (linkInfo->channels != pendingChannels_) {
      pendingChannels_ = linkInfo->channels;
      fold_ = StereoFold(pendingChannels_, VorbisSpeakers(pendingChannels_));
    }
    pendingStart_ = 0;
    pendingFrames_ = static_cast<int>(got / (2 * pendingChannels_));
    if (pendingFrames_ > 0) return true;
  }
  return false;
}

void OggVorbisSource::Fold(int frames, int16_t* left, int16_t* right) {
  const auto channels = static_cast<size_t>(pendingChannels_);
  const int16_t* in = interleave_.data() + static_cast<size_t>(pendingStart_) * channels;
  for (int f = 0; f < frames; ++f, in += channels) {
    int16_t l = in[0];
    int16_t r = in[0];
    if (channels == 2) {
      r = in[1];
    } else if (channels > 2) {
      fold_.Apply(in, l, r);
    }
    if (channels_ == 1) {
      // Only a later link of a chained file can have more channels.
      // The mean of two 16-bit samples is a 16-bit sample.
      left[f] = channels == 1 ? l : static_cast<int16_t>((l + r) / 2);
    } else {
      left[f] = l;
      if (right != nullptr) right[f] = r;
    }
  }
}

int OggVorbisSource::Read(int16_t* left, int16_t* right) {
  if (!file_ || left == nullptr) return 0;
  for (;;) {
    if (QueuedFrames() > 0) return DeliverQueued(left, right);
    if (pendingFrames_ == 0) {
      const int previousRate = linkRate_;
      const bool more = Decode();
      if (!more || linkRate_ != previousRate) StartLink(more);
      if (!more) {
        if (QueuedFrames() > 0) continue;
        return 0;
      }
    }
    if (resampler_.resampling()) {
      QueueResampled();
      continue;
    }
    const int frames = std::min(pendingFrames_, kMaxBlockFrames);
    Fold(frames, left, right);
    pendingStart_ += frames;
    pendingFrames_ -= frames;
    return frames;
  }
}

void OggVorbisSource::StartLink(bool more) {
  if (resampler_.resampling()) {
    const int capacity = kMaxBlockFrames;
    for (;;) {
      const size_t end = queuedLeft_.size();
      queuedLeft_.resize(end + capacity);
      queuedRight_.resize(end + capacity);
      const int got =
          resampler_.Flush(queuedLeft_.data() + end, queuedRight_.data() + end, capacity);
      queuedLeft_.resize(end + static_cast<size_t>(std::max(got, 0)));
      queuedRight_.resize(queuedLeft_.size());
      if (got <= 0) break;
    }
  }
  if (more)
    resampler_.Configure(linkRate_, channels_, sampleRate_, channels_);
  else
    resampler_.Configure(0, 0, 0, 0);
}

void OggVorbisSource::QueueResampled() {
  const int frames = std::min(pendingFrames_, kMaxBlockFrames);
  int16_t* right = channels_ == 2 ? foldRight_.data() : nullptr;
  Fold(frames, foldLeft_.data(), right);
  pendingStart_ += frames;
  pendingFrames_ -= frames;
  const size_t end = queuedLeft_.size();
  const auto capacity = static_cast<size_t>(resampler_.OutputCapacity(frames));
  queuedLeft_.resize(end + capacity);
  queuedRight_.resize(end + capacity);
  int produced = 0;
  resampler_.Process(foldLeft_.data(), right, frames, queuedLeft_.data() + end,
                     queuedRight_.data() + end, &produced);
  queuedLeft_.resize(end + static_cast<size_t>(std::max(produced, 0)));
  queuedRight_.resize(queuedLeft_.size());
}

int OggVorbisSource::DeliverQueued(int16_t* left, int16_t* right) {
  const int frames = static_cast<int>(std::min<size_t>(QueuedFrames(), kMaxBlockFrames));
  std::copy_n(queuedLeft_.data() + queuedStart_, frames, left);
  if (channels_ == 2 && right != nullptr)
    std::copy_n(queuedRight_.data() + queuedStart_, frames, right);
  queuedStart_ += static_cast<size_t>(frames);
  if (queuedStart_ == queuedLeft_.size()) {
    queuedLeft_.clear();
    queuedRight_.clear();
    queuedStart_ = 0;
  }
  return frames;
}

bool OggVorbisSource::ReadTags(TagInfo& tags) {
  const std::pair<std::string_view, std::string*> fields[] = {
      {"TITLE=", &tags.title},       {"ARTIST=", &tags.artist},     {"ALBUM=", &tags.album},
      {"DATE=", &tags.year},         {"GENRE=", &tags.genre},       {"COMMENT=", &tags.comment},
      {"TRACKNUMBER=", &tags.track}, {"COMPOSER=", &tags.composer}, {"COPYRIGHT=", &tags.copyright},
  };
  for (const auto& [prefix, field] : fields) {
    field->clear();
    // Keys are case-insensitive; of a repeated key the last one counts.
    for (const std::string& comment : comments_)
      if (StartsWithIgnoringCase(comment, prefix)) *field = comment.substr(prefix.size());
  }
  return true;
}

}  // namespace quillo
