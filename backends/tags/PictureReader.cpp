#include "backends/tags/PictureReader.h"

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/oggfile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include <optional>
#include <vector>

#include "base/RegularFile.h"

namespace quillo {

namespace {

constexpr int kFrontCover = 3;

std::string Bytes(const TagLib::ByteVector& data) { return {data.data(), data.size()}; }

std::string Text(const TagLib::String& text) { return text.to8Bit(true); }

// The front cover of a list, else its first picture.
std::optional<CoverPicture> Choose(std::vector<CoverPicture> pictures) {
  if (pictures.empty()) return std::nullopt;
  for (CoverPicture& picture : pictures)
    if (picture.type == kFrontCover) return std::move(picture);
  return std::move(pictures.front());
}

std::vector<CoverPicture> FromId3v2(TagLib::ID3v2::Tag* tag) {
  std::vector<CoverPicture> pictures;
  if (tag == nullptr) return pictures;
  for (TagLib::ID3v2::Frame* frame : tag->frameList("APIC")) {
    const auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
    if (apic == nullptr || apic->picture().isEmpty()) continue;
    pictures.push_back({Text(apic->mimeType()), Text(apic->description()),
                        static_cast<int>(apic->type()), Bytes(apic->picture())});
  }
  return pictures;
}

std::vector<CoverPicture> FromFlac(const TagLib::List<TagLib::FLAC::Picture*>& list) {
  std::vector<CoverPicture> pictures;
  for (const TagLib::FLAC::Picture* picture : list) {
    if (picture == nullptr || picture->data().isEmpty()) continue;
    pictures.push_back({Text(picture->mimeType()), Text(picture->description()),
                        static_cast<int>(picture->type()), Bytes(picture->data())});
  }
  return pictures;
}

std::vector<CoverPicture> FromMp4(TagLib::MP4::Tag* tag) {
  std::vector<CoverPicture> pictures;
  if (tag == nullptr || !tag->contains("covr")) return pictures;
  for (const TagLib::MP4::CoverArt& art : tag->item("covr").toCoverArtList()) {
    if (art.data().isEmpty()) continue;
    CoverPicture picture;
    picture.data = Bytes(art.data());
    picture.mimeType = SniffPictureType(picture.data);
    pictures.push_back(std::move(picture));  // MP4 names no type: the front cover
  }
  return pictures;
}

std::vector<CoverPicture> FromAsf(TagLib::ASF::Tag* tag) {
  std::vector<CoverPicture> pictures;
  if (tag == nullptr) return pictures;
  const TagLib::ASF::AttributeListMap& attributes = tag->attributeListMap();
  const auto found = attributes.find("WM/Picture");
  if (found == attributes.end()) return pictures;
  for (const TagLib::ASF::Attribute& attribute : found->second) {
    const TagLib::ASF::Picture picture = attribute.toPicture();
    if (!picture.isValid() || picture.picture().isEmpty()) continue;
    pictures.push_back({Text(picture.mimeType()), Text(picture.description()),
                        static_cast<int>(picture.type()), Bytes(picture.picture())});
  }
  return pictures;
}

// APE cover art items hold the description, a zero byte, then the picture.
std::vector<CoverPicture> FromApe(TagLib::APE::Tag* tag) {
  std::vector<CoverPicture> pictures;
  if (tag == nullptr) return pictures;
  for (const auto& [key, item] : tag->itemListMap()) {
    if (!key.upper().startsWith("COVER ART") || item.type() != TagLib::APE::Item::Binary) continue;
    const TagLib::ByteVector value = item.binaryData();
    const int zero = value.find('\0');
    if (zero < 0 || static_cast<unsigned>(zero) + 1 >= value.size()) continue;
    CoverPicture picture;
    picture.description = Text(TagLib::String(value.mid(0, zero), TagLib::String::UTF8));
    picture.data = Bytes(value.mid(zero + 1));
    picture.mimeType = SniffPictureType(picture.data);
    picture.type = key.upper() == "COVER ART (FRONT)" ? kFrontCover : 0;
    pictures.push_back(std::move(picture));
  }
  return pictures;
}

std::vector<CoverPicture> PicturesOf(TagLib::File* file) {
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file))
    return mpeg->hasID3v2Tag() ? FromId3v2(mpeg->ID3v2Tag()) : std::vector<CoverPicture>{};
  if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file))
    return aiff->hasID3v2Tag() ? FromId3v2(aiff->tag()) : std::vector<CoverPicture>{};
  if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file))
    return wav->hasID3v2Tag() ? FromId3v2(wav->ID3v2Tag()) : std::vector<CoverPicture>{};
  if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
    std::vector<CoverPicture> pictures = FromFlac(flac->pictureList());
    if (pictures.empty() && flac->hasID3v2Tag()) pictures = FromId3v2(flac->ID3v2Tag());
    return pictures;
  }
  if (auto* ogg = dynamic_cast<TagLib::Ogg::File*>(file)) {
    auto* comment = dynamic_cast<TagLib::Ogg::XiphComment*>(ogg->tag());
    return comment != nullptr ? FromFlac(comment->pictureList()) : std::vector<CoverPicture>{};
  }
  if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) return FromMp4(mp4->tag());
  if (auto* asf = dynamic_cast<TagLib::ASF::File*>(file)) return FromAsf(asf->tag());
  if (auto* wavpack = dynamic_cast<TagLib::WavPack::File*>(file))
    return wavpack->hasAPETag() ? FromApe(wavpack->APETag()) : std::vector<CoverPicture>{};
  if (auto* ape = dynamic_cast<TagLib::APE::File*>(file))
    return ape->hasAPETag() ? FromApe(ape->APETag()) : std::vector<CoverPicture>{};
  return {};
}

}  // namespace

std::string SniffPictureType(const std::string& data) {
  const auto startsWith = [&data](std::string_view magic) {
    return data.size() >= magic.size() && data.compare(0, magic.size(), magic) == 0;
  };
  if (startsWith("\xFF\xD8\xFF")) return "image/jpeg";
  if (startsWith("\x89PNG\r\n\x1A\n")) return "image/png";
  if (startsWith("GIF8")) return "image/gif";
  if (startsWith("BM")) return "image/bmp";
  return {};
}

bool ReadCoverPicture(const std::string& path, CoverPicture& picture) {
  // The tag library would wait for ever on a FIFO or a device.
  if (!RegularFileProblem(path).empty()) return false;
  const TagLib::FileRef file(path.c_str(), false);
  if (file.isNull() || !file.file()->isValid()) return false;
  std::optional<CoverPicture> chosen = Choose(PicturesOf(file.file()));
  if (!chosen) return false;
  picture = std::move(*chosen);
  return true;
}

}  // namespace quillo
