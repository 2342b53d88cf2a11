#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/MediaSource.h"
#include "engine/TagInfo.h"

struct OggVorbis_File;

namespace quillo {

// Decodes Ogg Vorbis files with libvorbisfile to 16-bit PCM, folding more
// than two channels to stereo from the Vorbis channel order, and reads the
// Vorbis comments as tags. Files it cannot open (Opus or FLAC in Ogg, for
// one) are left to the next candidate.
class OggVorbisSource final : public MediaSource {
 public:
  OggVorbisSource();
  ~OggVorbisSource() override;

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

  // Fills the interleave buffer from the decoder; false at the end.
  bool Decode();
  // Folds `frames` frames of the decoded samples, from the first pending
  // one, to the delivered channels.
  void Fold(int frames, int16_t* left, int16_t* right);

  std::unique_ptr<OggVorbis_File, VorbisFileCloser> file_;
  std::vector<std::string> comments_;
  // Decoded samples, interleaved in the order of the stream's link, and the
  // frames of them not delivered yet.
  std::array<int16_t, 2048> interleave_{};
  int pendingStart_ = 0;
  int pendingFrames_ = 0;
  int pendingChannels_ = 0;
  // For each slot of WAV order, the channel of a Vorbis frame to take.
  std::vector<int> waveOrder_;
};

}  // namespace quillo
