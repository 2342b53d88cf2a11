#pragma once

#include <string>

#include "engine/media/ExtraTags.h"

namespace quillo {

// Reads the front cover of a file, else its first picture, with TagLib: ID3v2
// APIC frames (MP3, AIFF, the ID3 chunk of WAV), FLAC PICTURE blocks, Ogg
// METADATA_BLOCK_PICTURE comments (Vorbis, Opus, Speex, FLAC in Ogg), MP4
// `covr` atoms, ASF WM/Picture attributes and APE cover art (WavPack, APE).
// False when the file has no picture or cannot be read.
bool ReadCoverPicture(const std::string& path, CoverPicture& picture);

// The MIME type that a picture's first bytes show (JPEG, PNG, GIF, BMP);
// empty when they show none of these.
std::string SniffPictureType(const std::string& data);

}  // namespace quillo
