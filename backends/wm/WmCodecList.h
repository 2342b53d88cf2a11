#pragma once

#include <optional>
#include <vector>

#include "engine/media/WindowsMediaFormat.h"

namespace quillo {

// The Windows Media Audio encoding formats the writer offers: every
// combination of rate, channel count and bit rate that the wmav2 encoder
// accepts. Built once, when the Windows Media support loads.
class WmCodecList {
 public:
  // Empties the list and fills it with the formats the encoder accepts;
  // false, with the list untouched, when there is no wmav2 encoder.
  bool Build();

  // Adds `format` in list order: ascending rate, then ascending bit rate. A
  // format equal to one in the list, or with more than two channels, is not
  // added; one that differs from an entry only in its channel count goes in
  // front of that entry.
  void Insert(const WindowsMediaFormat& format);

  const std::vector<WindowsMediaFormat>& entries() const { return entries_; }

 private:
  std::vector<WindowsMediaFormat> entries_;
};

// The entry of `list` for (rate, bit rate, channels), walking the entries
// with that channel count in list order: an exact match; else, at the wanted
// rate, the nearer of the bit rates around the wanted one (a tie goes up);
// else the lowest bit rate of the next higher rate, or failing that the last
// entry below. Nothing when no entry has that channel count.
std::optional<WindowsMediaFormat> PickWmFormat(const std::vector<WindowsMediaFormat>& list,
                                               int rate, int bitRate, int channels);

}  // namespace quillo
