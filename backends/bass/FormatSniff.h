#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The sniffers below take heads that ReadFileHead reads.
#include "engine/media/ByteReader.h"

namespace quillo::audio {

// The size of an ID3v2 tag at the start of `head` (0 when there is none).
size_t Id3v2TagSize(std::span<const uint8_t> head);

// Audio head.
bool IsFlacHead(std::span<const uint8_t> head);
bool IsWavPackHead(std::span<const uint8_t> head);
bool IsMp4Head(std::span<const uint8_t> head);
bool IsAdxHead(std::span<const uint8_t> head);
bool IsCdaHead(std::span<const uint8_t> head);
// FLAC in an Ogg stream (its first page holds the FLAC mapping header).
bool IsOggFlacHead(std::span<const uint8_t> head);
// The tests below take the file's first bytes; those marked "audio head" take
// the bytes after an ID3v2 tag, since those formats may carry one in front.

// Audio head: two consecutive ADTS frame headers at the start.
bool LooksLikeAdts(std::span<const uint8_t> head);
// Audio head: an MPEG audio frame header near the start that is
// followed by a second one where its frame length says.
bool LooksLikeMpegAudio(std::span<const uint8_t> head);

// One of the signatures of the PCM containers (WAV, AIFF, AU, W64, CAF,
// Ogg and the rarer ones the PCM reader knows).
bool HasPcmContainerSignature(std::span<const uint8_t> head);

// The length in bytes of the MPEG audio frame whose header starts `h`, or 0
// when the four bytes are not a valid header.
size_t MpegFrameLength(const uint8_t* h);

}  // namespace quillo::audio
