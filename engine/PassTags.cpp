#include <utility>

#include "engine/PassSteps.h"
#include "engine/media/PathName.h"

namespace quillo {

namespace {

// The source's own tags, with a WAV file's RIFF INFO fields first.
bool SourceTags(const PassItem& item, const PassContext& context, MediaSource& source,
                TagInfo& tags) {
  const bool found = source.ReadTags(tags);
  // Whatever reader a source has, no text goes on longer than a real tag.
  CapTagTexts(tags);
  return AddWaveInfoTags(item.path, item.kind, context.backends, tags) || found;
}

}  // namespace

bool AddWaveInfoTags(const std::string& path, SourceKind kind, const BackendTable& backends,
                     TagInfo& tags) {
  if (kind != SourceKind::Wave || !backends.readWaveInfo) return false;
  TagInfo info;
  if (!backends.readWaveInfo(path, info)) return false;
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

TagInfo CustomTags(const TagSettings& settings, const std::string& titleFromName, int track) {
  TagInfo tags{settings.title,
               settings.artist,
               settings.album,
               settings.year,
               settings.genre,
               settings.comment,
               TrackText(track),
               settings.composer,
               settings.copyright,
               {},
               {}};
  if (settings.titleAsFileName) tags.title = titleFromName;
  return tags;
}

bool WantsReplayGain(const PassContext& context) {
  return context.settings.writeReplayGain && context.row.carriesTags &&
         context.settings.id3TagType != TagMode::None;
}

bool WantsAlbumGain(const PassContext& context) {
  return WantsReplayGain(context) && context.settings.writeReplayGain == 2;
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
