#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace quillo {

// A speaker position: the bit of that speaker in a WAV channel mask (front
// left 0, front right 1, front centre 2, LFE 3, back left 4, back right 5,
// ... back centre 8, side left 9, side right 10, then the top speakers; the
// decoder's further positions keep their AVChannel numbers), or
// kUnknownSpeaker.
inline constexpr int kUnknownSpeaker = -1;

// Where a speaker's signal goes when a frame is folded to stereo.
enum class FoldSide : uint8_t { Left, Right, Middle };

// The side of `speaker`; none for an unknown one.
std::optional<FoldSide> SideOf(int speaker);

// The speakers of a WAV file of 3 to 8 channels without a channel mask, in
// its order (5.1 with back surrounds, 6.1 with a back centre and side
// surrounds, 7.1 with both pairs); empty otherwise.
std::vector<int> WaveSpeakers(int channels);

// The speakers of a file that keeps its channels in the order of its WAV
// channel mask (lowest bit first), as WAV and WavPack files do; empty when
// the mask names fewer speakers than `channels`.
std::vector<int> MaskSpeakers(uint32_t mask, int channels);

// The speakers of a Vorbis stream (and of an Opus stream of mapping family 1)
// of 1 to 8 channels, in the order the stream keeps them; empty otherwise.
std::vector<int> VorbisSpeakers(int channels);

}  // namespace quillo
