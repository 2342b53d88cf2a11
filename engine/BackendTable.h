#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalog/OutputFormat.h"
#include "engine/media/ExtraTags.h"
#include "engine/media/MediaSink.h"
#include "engine/media/MediaSource.h"
#include "engine/media/SoundFontService.h"
#include "engine/media/SourceKind.h"
#include "engine/media/TagInfo.h"
#include "engine/media/WindowsMediaRuntime.h"

namespace quillo {

// The back-ends that can decode a file.
enum class SourceBackend {
  AudioLibrary,
  OggVorbis,
  Au,
  Aiff,
  Amr,
  WindowsMedia,
  Framework,  // the media framework: the last resort of every chain and the retry
};

// Everything the engine reaches of the back-ends, as one table. The program
// builds it once under backends/ and hands it to the engine; tests build
// their own from fakes. The engine itself knows no back-end library.
struct BackendTable {
  // Creates an unopened source; `fullDecoding` false may give a cheaper
  // variant that only reads the file's properties.
  using SourceMaker = std::function<std::unique_ptr<MediaSource>(bool fullDecoding)>;
  using SinkMaker = std::function<std::unique_ptr<MediaSink>()>;

  // The candidates of each kind, first choice first. A kind without a row,
  // and every retry, goes to the framework alone.
  std::map<SourceKind, std::vector<SourceBackend>> candidates;
  std::map<SourceBackend, SourceMaker> sources;
  // The sink of each catalog back-end; a back-end without one has no writer
  // in this build.
  std::map<FormatBackend, SinkMaker> sinks;
  // The raw PCM writer of the preprocessing scratch file.
  SinkMaker scratchWriter;
  // The RIFF INFO tags of a WAV file; false when it has none.
  std::function<bool(const std::string& path, TagInfo& tags)> readWaveInfo;
  // The tags of a file read without decoding it, for naming outputs before
  // a run converts; false when it has none.
  std::function<bool(const std::string& path, TagInfo& tags)> readTags;
  // Whether a file is a RIFF file whose DTS stream the framework would read
  // as plain PCM.
  std::function<bool(const std::string& path)> wrapsDtsAsPcm;
  // The front cover of a file, else its first picture; false when it has
  // none or its picture cannot be read.
  std::function<bool(const std::string& path, CoverPicture& picture)> readPicture;
  // Adds a picture and ReplayGain tags to a finished output of `row`, in the
  // row's format whatever the file's name.
  std::function<ExtraTagsResult(const std::string& path, const OutputFormat& row,
                                const ExtraTags& extras)>
      writeExtraTags;
  // Null when the build has no such support.
  SoundFontService* soundFont = nullptr;
  WindowsMediaRuntime* windowsMedia = nullptr;

  // The chain of back-ends for a kind (the framework alone for a kind without a row).
  std::vector<SourceBackend> Candidates(SourceKind kind) const;
  // A new source of `backend`; null when the table has none.
  std::unique_ptr<MediaSource> MakeSource(SourceBackend backend, bool fullDecoding) const;
  // A new sink for a catalog back-end; null when the table has none.
  std::unique_ptr<MediaSink> MakeSink(FormatBackend backend) const;
};

}  // namespace quillo
