#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/ConversionRun.h"

namespace quillo {

// The sink of a join and the PCM it takes.
struct JoinSink {
  std::unique_ptr<MediaSink> sink;
  int rate = 0;
  int channels = 0;
};

// The highest rate and channel count (at most 2) among the files, from the
// values probing stored. Every file counts, MIDI files included.
void JoinReference(const std::vector<FileItem*>& files, int& rate, int& channels);

// Creates, configures and opens the join sink at `outputPath`; nothing (and no
// file left behind) when that fails.
std::optional<JoinSink> CreateJoinSink(const std::string& outputPath, int maxRate,
                                       int maxChannels, PassContext& pass);

// Appends every file into one output. `outputPath` is the file the user chose;
// an existing file there is replaced only when the join completes.
void JoinAll(std::vector<FileItem*>& files, const std::string& outputPath, RunEnvironment& env);

}  // namespace quillo
