#pragma once

#include <span>
#include <vector>

namespace quillo {

// A speaker position: the bit of that speaker in a WAV channel mask (front
// left 0, front right 1, front centre 2, LFE 3, back left 4, back right 5,
// ... back centre 8, side left 9, side right 10, then the top speakers), or
// kUnknownSpeaker.
inline constexpr int kUnknownSpeaker = -1;

// The fold to stereo takes frames of three to eight channels in the order a
// WAV file keeps them (by mask bit). For a frame whose channel i sits at
// `speakers[i]`, returns for each slot of that order the channel to take;
// empty when the frame is in that order already, has more than eight
// channels, or names a speaker twice or not at all (it is then folded as it
// stands).
std::vector<int> WaveOrderOf(std::span<const int> speakers);

// The speakers of a Vorbis stream (and of an Opus stream of mapping family 1)
// of 1 to 8 channels, in the order the stream keeps them; empty otherwise.
std::vector<int> VorbisSpeakers(int channels);

}  // namespace quillo
