#include <utility>

#include "engine/PassSteps.h"
#include "engine/media/PathName.h"

namespace quillo {

namespace {

// The source's own tags. For WAV files the RIFF INFO reader's fields win (it
// knows track numbers and numbered genres); the library's tags, an ID3 chunk
// for example, fill the fields the INFO list lacks.
bool SourceTags(const PassItem& item, const PassContext& context, MediaSource& source,
                TagInfo& tags) {
  const bool found = source.ReadTags(tags);
  // Whatever reader a source has, no text goes on longer than a real tag.
  CapTagTexts(tags);
  if (item.kind != SourceKind::Wave || !context.backends.readWaveInfo) return found;
  TagInfo info;
  if (!context.backends.readWaveInfo(item.path, info)) return found;
  CapTagTexts(info);
  for (auto field :
       {&TagInfo::title, &TagInfo::artist, &TagInfo::album, &TagInfo::year, &TagInfo::genre,
        &TagInfo::comment, &TagInfo::track, &TagInfo::composer, &TagInfo::copyright}) {
    if (!(info.*field).empty()) tags.*field = std::move(info.*field);
  }
  return true;
}

// The sheet's values for a track, the image's tags where the sheet has none.
TagInfo CueTrackTags(const CueTrack& track, const TagInfo& image) {
  TagInfo tags = track.tags;
  for (auto field : {&TagInfo::artist, &TagInfo::album, &TagInfo::year, &TagInfo::genre,
                     &TagInfo::comment, &TagInfo::composer, &TagInfo::copyright})
    if ((tags.*field).empty()) tags.*field = image.*field;
  return tags;
}

}  // namespace

TagInfo CustomTags(const TagSettings& settings, const std::string& titleFromName, int track) {
  TagInfo tags{settings.title,   settings.artist,   settings.album,
               settings.year,    settings.genre,    settings.comment,
               TrackText(track), settings.composer, settings.copyright};
  if (settings.titleAsFileName) tags.title = titleFromName;
  return tags;
}

bool WantsReplayGain(const PassContext& context) {
  return context.settings.writeReplayGain && context.row.carriesTags &&
         context.settings.id3TagType != TagMode::None;
}

void SetTags(MediaSink& sink, const PassItem& item, PassContext& context, MediaSource& source) {
  const ConversionSettings& settings = context.settings;
  if (!context.row.carriesTags) return;
  if (settings.id3TagType == TagMode::Custom) {
    int track = 0;
    if (settings.tags.trackNumType == TrackNumberMode::ListPosition) track = context.job.position;
    if (settings.tags.trackNumType == TrackNumberMode::Custom) track = settings.tags.customTrackNum;
    TagInfo tags = CustomTags(settings.tags, StemPart(item.displayName), track);
    sink.SetTags(tags);
  } else if (settings.id3TagType == TagMode::FromSource) {
    TagInfo tags;
    const bool found = SourceTags(item, context, source, tags);
    // A cue track is named by its sheet; the image's own tags fill the rest.
    if (item.cueTrack) tags = CueTrackTags(*item.cueTrack, tags);
    if (found || item.cueTrack) {
      tags.track = TrackText(TrackNumberFromText(tags.track));
      sink.SetTags(tags);
    }
  }
}

}  // namespace quillo
