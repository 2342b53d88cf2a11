#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/FileHandle.h"
#include "engine/media/Downmix.h"
#include "engine/media/MediaSource.h"
#include "engine/media/ResampleAdapter.h"
#include "engine/media/TagInfo.h"

struct OggVorbis_File;

namespace quillo {

// Decodes Ogg Vorbis files with libvorbisfile to 16-bit PCM, folding more
// than two channels to stereo from the Vorbis channel order, and reads the
// Vorbis comments as tags. A chained file whose later link has another rate
// is resampled to the first link's rate. Files it cannot open (Opus or FLAC in Ogg, for
// one) are left to the next candidate.
class OggVorbisSource final : public MediaSource {
 public:
  void Close() override;
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t* left, int16_t* right) override;
  // The compressed byte offset, asked of the decoder on every call.
  uint64_t GetProgressPosition() override;
  // Always true: the nine texts come from the comments, empty when absent.
  bool ReadTags(TagInfo& tags) override;

 private:
  struct VorbisFileCloser {
    void operator()(OggVorbis_File* file) const;
  };

  // Fills the interleave buffer from the decoder, noting the link's rate;
  // false at the end.
  bool Decode();
  // Starts the link at linkRate_: queues what the previous link's resampler
  // still holds and resamples the new link when its rate is not the first's.
  void StartLink(bool more);
  // Folds and resamples up to one block of the pending frames into the queue.
  void QueueResampled();
  // Hands up to one block of the queue to the caller.
  int DeliverQueued(int16_t* left, int16_t* right);
  size_t QueuedFrames() const { return queuedLeft_.size() - queuedStart_; }
  // Folds `frames` frames of the decoded samples, from the first pending
  // one, to the delivered channels.
  void Fold(int frames, int16_t* left, int16_t* right);

  // The decoder reads `stream_`, which is declared first so that it
  // outlives the decoder.
  FileHandle stream_;
  std::unique_ptr<OggVorbis_File, VorbisFileCloser> file_;
  std::vector<std::string> comments_;
  // Decoded samples, interleaved in the order of the stream's link, and the
  // frames of them not delivered yet.
  std::array<int16_t, 2048> interleave_{};
  int pendingStart_ = 0;
  int pendingFrames_ = 0;
  int pendingChannels_ = 0;
  // Folds frames of the current link by the Vorbis speaker order.
  StereoFold fold_;
  // The rate of the link the pending frames come from.
  int linkRate_ = 0;
  ResampleAdapter resampler_;
  // Folded frames on their way to the resampler, and resampled frames not
  // delivered yet.
  std::array<int16_t, kMaxBlockFrames> foldLeft_{};
  std::array<int16_t, kMaxBlockFrames> foldRight_{};
  std::vector<int16_t> queuedLeft_;
  std::vector<int16_t> queuedRight_;
  size_t queuedStart_ = 0;
};

}  // namespace quillo
