#include "engine/ExtraTagsStep.h"

namespace quillo {

namespace {

// The source's picture, when it has one this output should carry.
std::optional<CoverPicture> PictureToCarry(const std::string& sourcePath, RunEnvironment& env) {
  const PassContext& pass = env.pass;
  if (pass.settings.id3TagType != TagMode::FromSource || !pass.settings.transferPictures ||
      !pass.backends.readPicture)
    return std::nullopt;
  CoverPicture picture;
  if (!pass.backends.readPicture(sourcePath, picture)) return std::nullopt;
  if (picture.data.size() > kMaxPictureBytes) {
    env.prompts.Note("The picture of \"" + sourcePath + "\" (" +
                     std::to_string(picture.data.size()) +
                     " bytes) was not copied: pictures over 16 MiB are dropped.");
    return std::nullopt;
  }
  return picture;
}

}  // namespace

std::optional<std::string> AddExtraTags(const std::string& sourcePath,
                                        const std::string& outputPath,
                                        const std::optional<TrackGain>& replayGain,
                                        const std::optional<TrackGain>& albumGain,
                                        RunEnvironment& env) {
  const PassContext& pass = env.pass;
  if (!pass.backends.writeExtraTags) return std::nullopt;
  ExtraTags extras;
  const std::optional<WrittenAudio>& encoded = pass.job.written;
  if (encoded && encoded->priming > 0)
    extras.gapless = GaplessInfo{encoded->priming, encoded->padding, encoded->frames};
  if (pass.row.carriesTags && pass.settings.id3TagType != TagMode::None) {
    extras.picture = PictureToCarry(sourcePath, env);
    if (pass.settings.writeReplayGain) extras.replayGain = replayGain;
    if (pass.settings.writeReplayGain == 2 && replayGain) extras.albumGain = albumGain;
  }
  if (!extras.picture && !extras.replayGain && !extras.gapless) return std::nullopt;
  const ExtraTagsResult written = pass.backends.writeExtraTags(outputPath, pass.row, extras);
  if (!written.writeFailure.empty()) return written.writeFailure;
  if (!written.pictureProblem.empty())
    env.prompts.Note("The picture of \"" + sourcePath +
                     "\" was not copied: " + written.pictureProblem + ".");
  if (!written.replayGainProblem.empty())
    env.prompts.Note("The ReplayGain tags of \"" + sourcePath +
                     "\" were not written: " + written.replayGainProblem + ".");
  return std::nullopt;
}

}  // namespace quillo
