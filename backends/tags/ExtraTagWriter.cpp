#include "backends/tags/ExtraTagWriter.h"

#include <taglib/aifffile.h>
#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "backends/tags/CheckedFileStream.h"
#include "backends/tags/PictureReader.h"
#include "engine/media/FixedText.h"

namespace quillo {

namespace {

// Where a row's files keep their tags.
enum class TagPlace { None, Mpeg, Aiff, Flac, Ogg, Opus, WavPack, Mp4, Asf };

TagPlace PlaceOf(const OutputFormat& row) {
  namespace fmt = format_id;
  switch (row.formatId) {
    case fmt::kMp3:
      return TagPlace::Mpeg;
    case fmt::kAiff:
      return TagPlace::Aiff;
    case fmt::kFlac:
      return TagPlace::Flac;
    case fmt::kOgg:
      return TagPlace::Ogg;
    case fmt::kOpus:
      return TagPlace::Opus;
    case fmt::kWavPack:
      return TagPlace::WavPack;
    case fmt::kM4a:
    case fmt::kM4b:
    case fmt::kM4r:
    case fmt::kMp4:
    case fmt::kMov:
    case fmt::kAlac:
    case fmt::kAacDevice:
    case fmt::k3gp:
    case fmt::k3g2:
      return TagPlace::Mp4;
    case fmt::kWma:
    case fmt::kWmv:
    case fmt::kAsf:
      return TagPlace::Asf;
    default:
      return TagPlace::None;
  }
}

TagLib::ByteVector Vector(const std::string& bytes) {
  return {bytes.data(), static_cast<unsigned>(bytes.size())};
}

TagLib::String Utf8(const std::string& text) { return {text, TagLib::String::UTF8}; }

std::string GainText(double gainDb) { return FixedText(gainDb, 2, true) + " dB"; }

std::string PeakText(double peak) { return FixedText(peak, 6); }

// The ReplayGain fields of the extras, in upper case: the track's gain and
// peak, then the album's when there is one.
std::vector<std::pair<std::string, std::string>> GainFields(const ExtraTags& extras) {
  std::vector<std::pair<std::string, std::string>> fields;
  if (!extras.replayGain) return fields;
  fields.emplace_back("REPLAYGAIN_TRACK_GAIN", GainText(extras.replayGain->gainDb));
  fields.emplace_back("REPLAYGAIN_TRACK_PEAK", PeakText(extras.replayGain->peak));
  if (extras.albumGain) {
    fields.emplace_back("REPLAYGAIN_ALBUM_GAIN", GainText(extras.albumGain->gainDb));
    fields.emplace_back("REPLAYGAIN_ALBUM_PEAK", PeakText(extras.albumGain->peak));
  }
  return fields;
}

// MP4 and ASF readers look for the lower-case names.
std::string Lower(std::string key) {
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

std::unique_ptr<TagLib::FLAC::Picture> FlacPicture(const CoverPicture& picture) {
  auto block = std::make_unique<TagLib::FLAC::Picture>();
  block->setMimeType(Utf8(picture.mimeType));
  block->setDescription(Utf8(picture.description));
  block->setType(static_cast<TagLib::FLAC::Picture::Type>(picture.type));
  block->setData(Vector(picture.data));
  return block;
}

void SetXiphPicture(TagLib::Ogg::XiphComment& comment, const std::optional<CoverPicture>& picture) {
  if (!picture) return;
  comment.removeAllPictures();
  comment.addPicture(FlacPicture(*picture).release());
}

void SetXiph(TagLib::Ogg::XiphComment& comment, const ExtraTags& extras) {
  SetXiphPicture(comment, extras.picture);
  for (const auto& [key, value] : GainFields(extras)) comment.addField(key, value);
}

// Opus players apply R128 gains, never ReplayGain tags: an integer in 256ths
// of a dB against -23 LUFS, where ReplayGain measures against -18 LUFS. The
// stream header's output gain stays 0, so that a player that reads no tags
// plays the audio as it was.
std::string R128Gain(double replayGainDb) {
  constexpr double kReplayGainOverR128Db = -18.0 - -23.0;
  const double steps = std::round((replayGainDb - kReplayGainOverR128Db) * 256.0);
  return std::to_string(static_cast<int>(std::clamp(steps, -32768.0, 32767.0)));
}

void SetOpus(TagLib::Ogg::XiphComment& comment, const ExtraTags& extras) {
  SetXiphPicture(comment, extras.picture);
  if (extras.replayGain) comment.addField("R128_TRACK_GAIN", R128Gain(extras.replayGain->gainDb));
  if (extras.replayGain && extras.albumGain)
    comment.addField("R128_ALBUM_GAIN", R128Gain(extras.albumGain->gainDb));
}

// APEv2 keeps a picture as a binary item named after its role, holding a file
// name, a zero byte and the image; readers tell the image's kind by the name's
// extension.
void SetApe(TagLib::APE::Tag& tag, const ExtraTags& extras) {
  if (extras.picture) {
    const CoverPicture& picture = *extras.picture;
    for (const char* key : {"Cover Art (Front)", "Cover Art (Back)", "Cover Art (Other)"})
      tag.removeItem(key);
    const char* key = picture.type == 3   ? "Cover Art (Front)"
                      : picture.type == 4 ? "Cover Art (Back)"
                                          : "Cover Art (Other)";
    const std::string mime =
        picture.mimeType.empty() ? SniffPictureType(picture.data) : picture.mimeType;
    const std::string extension = mime.rfind("image/", 0) == 0 ? mime.substr(6) : "bin";
    TagLib::ByteVector value = Vector("cover." + (extension == "jpeg" ? "jpg" : extension));
    value.append('\0');
    value.append(Vector(picture.data));
    TagLib::APE::Item item;
    item.setKey(key);
    item.setType(TagLib::APE::Item::Binary);
    item.setBinaryData(value);
    tag.setItem(key, item);
  }
  for (const auto& [key, value] : GainFields(extras)) tag.addValue(key, Utf8(value), true);
}

void SetId3v2(TagLib::ID3v2::Tag& tag, const ExtraTags& extras) {
  if (extras.picture) {
    tag.removeFrames("APIC");
    auto frame = std::make_unique<TagLib::ID3v2::AttachedPictureFrame>();
    frame->setMimeType(Utf8(extras.picture->mimeType));
    frame->setDescription(Utf8(extras.picture->description));
    frame->setType(static_cast<TagLib::ID3v2::AttachedPictureFrame::Type>(extras.picture->type));
    frame->setPicture(Vector(extras.picture->data));
    frame->setTextEncoding(TagLib::String::UTF8);
    tag.addFrame(frame.release());
  }
  for (const auto& [key, value] : GainFields(extras)) {
    if (auto* old = TagLib::ID3v2::UserTextIdentificationFrame::find(&tag, key))
      tag.removeFrame(old);
    auto frame = std::make_unique<TagLib::ID3v2::UserTextIdentificationFrame>(
        key, TagLib::StringList(Utf8(value)), TagLib::String::UTF8);
    tag.addFrame(frame.release());
  }
}

TagLib::MP4::CoverArt::Format Mp4Format(const std::string& mimeType) {
  if (mimeType == "image/jpeg" || mimeType == "image/jpg") return TagLib::MP4::CoverArt::JPEG;
  if (mimeType == "image/png") return TagLib::MP4::CoverArt::PNG;
  if (mimeType == "image/gif") return TagLib::MP4::CoverArt::GIF;
  if (mimeType == "image/bmp") return TagLib::MP4::CoverArt::BMP;
  return TagLib::MP4::CoverArt::Unknown;
}

// The gapless description players of the MP4 family read: priming, padding
// and the frame count in hexadecimal, in the fields of that layout.
std::string GaplessText(const GaplessInfo& gapless) {
  char text[160];
  std::snprintf(text, sizeof text,
                " 00000000 %08X %08X %016llX 00000000 00000000 00000000 00000000 00000000 "
                "00000000 00000000 00000000",
                static_cast<unsigned>(gapless.priming), static_cast<unsigned>(gapless.padding),
                static_cast<unsigned long long>(gapless.frames));
  return text;
}

void SetMp4(TagLib::MP4::Tag& tag, const ExtraTags& extras) {
  if (extras.gapless)
    tag.setItem("----:com.apple.iTunes:iTunSMPB",
                TagLib::StringList(Utf8(GaplessText(*extras.gapless))));
  if (extras.picture) {
    TagLib::MP4::CoverArtList covers;
    covers.append({Mp4Format(extras.picture->mimeType), Vector(extras.picture->data)});
    tag.setItem("covr", covers);
  }
  for (const auto& [key, value] : GainFields(extras))
    tag.setItem("----:com.apple.iTunes:" + Lower(key), TagLib::StringList(Utf8(value)));
}

void SetAsf(TagLib::ASF::Tag& tag, const ExtraTags& extras) {
  if (extras.picture) {
    TagLib::ASF::Picture picture;
    picture.setMimeType(Utf8(extras.picture->mimeType));
    picture.setDescription(Utf8(extras.picture->description));
    picture.setType(static_cast<TagLib::ASF::Picture::Type>(extras.picture->type));
    picture.setPicture(Vector(extras.picture->data));
    tag.setAttribute("WM/Picture", TagLib::ASF::Attribute(picture));
  }
  for (const auto& [key, value] : GainFields(extras)) tag.setAttribute(Lower(key), Utf8(value));
}

// How one try at saving the tags into the output went.
enum class Save { Done, NotThisFormat, Refused };

// Opens `stream` as a `File`, sets the extras in its tag and saves it.
template <typename File, typename Tag>
Save SaveInto(TagLib::IOStream& stream, const ExtraTags& extras,
              void (*set)(Tag&, const ExtraTags&)) {
  File file(&stream, false);
  if (!file.isValid() || file.tag() == nullptr) return Save::NotThisFormat;
  set(*file.tag(), extras);
  return file.save() ? Save::Done : Save::Refused;
}

Save Saved(bool saved) { return saved ? Save::Done : Save::Refused; }

// Opens `stream` as a file of `place`, sets the tags and saves.
Save SaveTags(TagLib::IOStream& stream, TagPlace place, const ExtraTags& extras) {
  switch (place) {
    case TagPlace::Mpeg: {
      TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
      if (!file.isValid()) return Save::NotThisFormat;
      SetId3v2(*file.ID3v2Tag(true), extras);
      // Only the ID3v2 tag: no ID3v1 copy the sink did not write.
      return Saved(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v4,
                             TagLib::File::DoNotDuplicate));
    }
    case TagPlace::Aiff:
      return SaveInto<TagLib::RIFF::AIFF::File>(stream, extras, SetId3v2);
    case TagPlace::Flac: {
      TagLib::FLAC::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
      if (!file.isValid()) return Save::NotThisFormat;
      if (extras.picture) {
        file.removePictures();
        file.addPicture(FlacPicture(*extras.picture).release());
      }
      if (extras.replayGain)
        SetXiph(*file.xiphComment(true),
                {std::nullopt, extras.replayGain, std::nullopt, extras.albumGain});
      return Saved(file.save());
    }
    case TagPlace::Ogg: {
      // The Ogg row writes Vorbis or FLAC in Ogg.
      const Save vorbis = SaveInto<TagLib::Ogg::Vorbis::File>(stream, extras, SetXiph);
      if (vorbis != Save::NotThisFormat) return vorbis;
      return SaveInto<TagLib::Ogg::FLAC::File>(stream, extras, SetXiph);
    }
    case TagPlace::Opus:
      return SaveInto<TagLib::Ogg::Opus::File>(stream, extras, SetOpus);
    case TagPlace::WavPack: {
      TagLib::WavPack::File file(&stream, false);
      if (!file.isValid()) return Save::NotThisFormat;
      SetApe(*file.APETag(true), extras);
      return Saved(file.save());
    }
    case TagPlace::Mp4:
      return SaveInto<TagLib::MP4::File>(stream, extras, SetMp4);
    case TagPlace::Asf:
      return SaveInto<TagLib::ASF::File>(stream, extras, SetAsf);
    case TagPlace::None:
      break;
  }
  return Save::NotThisFormat;
}

}  // namespace

ExtraTagsResult WriteExtraTags(const std::string& path, const OutputFormat& row,
                               const ExtraTags& extras) {
  ExtraTagsResult result;
  const TagPlace place = PlaceOf(row);
  if (place == TagPlace::None || (!extras.picture && !extras.replayGain && !extras.gapless))
    return result;
  CheckedFileStream stream(path);
  const Save saved = stream.isOpen() ? SaveTags(stream, place, extras) : Save::Refused;
  stream.Close();
  // A save that changed the file and then failed leaves it damaged: the
  // output is lost, not just its tags.
  if (stream.written() && (stream.failed() || saved != Save::Done)) {
    result.writeFailure = stream.failed() ? stream.error() : "the output's tags could not be saved";
    return result;
  }
  std::string problem;
  if (stream.failed())
    problem = stream.error();
  else if (saved != Save::Done)
    problem = "the output's tags could not be saved";
  if (!problem.empty()) {
    if (extras.picture) result.pictureProblem = problem;
    if (extras.replayGain) result.replayGainProblem = problem;
  }
  return result;
}

}  // namespace quillo
