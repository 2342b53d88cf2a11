#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quillo {

// A picture a tag holds, as the tag stores it.
struct CoverPicture {
  std::string mimeType;  // "image/jpeg", "image/png"; empty when the tag names none
  std::string description;
  int type = 3;  // the ID3v2 picture type: 3 is the front cover, 0 "other"
  std::string data;

  bool operator==(const CoverPicture&) const = default;
};

// Larger pictures are dropped: no tag format or player is meant for them.
inline constexpr size_t kMaxPictureBytes = 16u * 1024u * 1024u;

// ReplayGain track values: the gain in dB that brings the track to the
// reference loudness, and its sample peak as a fraction of full scale.
struct TrackGain {
  double gainDb = 0.0;
  double peak = 0.0;
};

// Where the audio lies among the decoded frames of an encoder that primes:
// `priming` frames in front, then the `frames` of the audio, then `padding`.
struct GaplessInfo {
  int64_t priming = 0;
  int64_t padding = 0;
  int64_t frames = 0;
};

// What goes into a finished output besides the tags the sink wrote.
struct ExtraTags {
  std::optional<CoverPicture> picture;
  std::optional<TrackGain> replayGain;
  // Written whatever the tag settings: players need it to play the audio
  // without gaps, as they need the edit list.
  std::optional<GaplessInfo> gapless;
  // The album's values beside the track's, when the file is one of an album
  // (written only with `replayGain`).
  std::optional<TrackGain> albumGain;
};

// What became of the extra tags. A format without a place for them is no
// problem: nothing is written and the texts stay empty. A picture or tag that
// could not go in is a problem of its own; a write that failed on the way
// damaged the output, which must not be kept.
struct ExtraTagsResult {
  std::string pictureProblem;     // why the picture was dropped
  std::string replayGainProblem;  // why the ReplayGain tags were dropped
  std::string writeFailure;       // the system's reason when writing damaged the output
};

}  // namespace quillo
