#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/PassSteps.h"

namespace quillo {

namespace {

// The folder for scratch files: the system's temporary folder, or, when that
// is not a folder, the folder TMPDIR names anyway, so that creating the file
// there fails with the system's reason.
std::filesystem::path ScratchFolder() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (!ec) return folder;
  const char* named = std::getenv("TMPDIR");
  return named != nullptr && *named != '\0' ? named : "/tmp";
}

}  // namespace

PassResult PreprocessDts(PassItem& item, PassContext& context) {
  PassResult result;
  std::unique_ptr<MediaSource> source = OpenSource(item, context, 44100, result);
  if (!source) return result;
  std::unique_ptr<MediaSink> writerHolder =
      context.backends.scratchWriter ? context.backends.scratchWriter() : nullptr;
  if (!writerHolder) return result;
  MediaSink& writer = *writerHolder;

  // The scratch file is created exclusively, never by guessing a free name.
  // Without it the file cannot be converted: it fails with the reason (a
  // TMPDIR that names a missing folder, a full disk) and the run goes on.
  std::string path = (ScratchFolder() / "quilloXXXXXX.dts").string();
  const int fd = mkstemps(path.data(), 4);
  if (fd < 0) {
    context.job.failureDetail = "Failed to create a temporary file in \"" +
                                ScratchFolder().string() + "\" (" + std::strerror(errno) + ")";
    result.noScratch = true;
    return result;
  }
  close(fd);
  item.outputPath = path;

  writer.SetChannels(source->GetChannels());
  writer.SetPath(path);
  if (!writer.Open()) {
    DeleteOutput(path, item.path);
    return result;
  }
  BlockRoute route;
  route.sourceRate = route.outputRate = source->GetSampleRate();
  route.sourceChannels = route.outputChannels = source->GetChannels();
  const LoopEnd end =
      RunBlockLoop(*source, writer, route, context.progress, "Preprocessing", item.displayName);
  const bool closed = writer.Close();
  if (end == LoopEnd::WriteFailed || (SourceDelivered(end) && !closed))
    FailWrite(context, writer.ErrorText(), result);
  std::error_code ec;
  if (!SourceDelivered(end) || !closed || std::filesystem::file_size(path, ec) == 0 || ec) {
    DeleteOutput(path, item.path);
    return result;
  }
  // The copy holds what the damaged source gave; the file says so when done.
  if (end == LoopEnd::EndedEarly) NoteEarlyEnd(*source, context, result);
  result.ok = true;
  return result;
}

}  // namespace quillo
