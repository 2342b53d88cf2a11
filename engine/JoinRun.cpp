#include "engine/JoinRun.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/FileItemText.h"
#include "engine/PendingOutput.h"

namespace quillo {

void JoinReference(const std::vector<FileItem*>& files, int& rate, int& channels) {
  rate = 0;
  channels = 0;
  for (const FileItem* file : files) {
    rate = std::max(rate, file->sampleRate);
    channels = std::max(channels, file->channels);
  }
  if (channels > 2) channels = 2;
  // Files that could not tell their format (a MIDI file renders at the
  // output rate) still need a usable reference.
  if (rate <= 0) rate = 44100;
  if (channels <= 0) channels = 2;
}

std::optional<JoinSink> CreateJoinSink(const std::string& outputPath, int maxRate,
                                       int maxChannels, PassContext& pass) {
  std::optional<OutputSelection> output =
      SelectOutput(pass.row, maxRate, maxChannels, RenderRate(pass.row, pass.settings),
                   SelectionMode::Join, pass.settings, pass.createSink);
  if (!output) return std::nullopt;
  const ConversionSettings& settings = pass.settings;
  if (pass.row.carriesTags && settings.id3TagType == TagMode::Custom) {
    const TagSettings& t = settings.tags;
    output->sink->SetTags(t.titleAsFileName ? std::string() : t.title, t.artist, t.album,
                          t.genre, t.year, t.comment, t.composer, t.copyright, 0);
  }
  output->sink->SetPath(outputPath);
  if (!output->sink->Open()) {
    output->sink.reset();
    std::error_code ec;
    std::filesystem::remove(outputPath, ec);
    return std::nullopt;
  }
  return JoinSink{std::move(output->sink), output->rate, output->channels};
}

RunResult JoinAll(std::vector<FileItem*>& files, const std::string& outputPath,
                  RunEnvironment& env) {
  RunResult result;
  if (!CheckPrerequisites(files, env)) return result;
  PassContext& pass = env.pass;

  int maxRate = 0, maxChannels = 0;
  JoinReference(files, maxRate, maxChannels);
  // The joined file is written beside the target and moved into place at the end.
  PendingOutput pending(outputPath);
  std::optional<JoinSink> join;
  if (pending.Create()) join = CreateJoinSink(pending.path(), maxRate, maxChannels, pass);
  if (!join) {
    env.prompts.Warn("Failed to create file \"" + outputPath + "\".");
    return result;
  }
  result.started = true;

  RunEachFile(files, FileNameCell(outputPath), env, [&](size_t i, FileItem& file) {
    file.outputPath = outputPath;
    env.list.SetOutputCell(i, "Converting...");
    return RunFilePasses(file, pending.path(), env, [&](const PassItem& item, int& hasAudio) {
      return AppendFile(item, *join->sink, join->rate, join->channels, pass, hasAudio);
    });
  }, result);

  join->sink->Close();
  join->sink.reset();
  // A cancelled join leaves nothing behind; otherwise the output replaces the target.
  if (result.cancelled || !pending.Commit()) {
    pending.Discard();
    for (FileItem* file : files) file->outputPath.clear();
    if (!result.cancelled) env.prompts.Warn("Failed to create file \"" + outputPath + "\".");
    return result;
  }
  if (pass.settings.browseOutputFolder) result.revealPath = outputPath;
  return result;
}

}  // namespace quillo
