#include <gtest/gtest.h>

#include "engine/media/SourceKind.h"

namespace quillo {
namespace {

TEST(SourceKind, EveryExtensionOfTheTable) {
  const std::pair<const char*, SourceKind> cases[] = {
      {"a.mp3", SourceKind::Mp3},      {"a.wav", SourceKind::Wave},
      {"a.wave", SourceKind::Wave},    {"a.amr", SourceKind::Amr},
      {"a.awb", SourceKind::Amr},      {"a.ogg", SourceKind::Ogg},
      {"a.oga", SourceKind::Ogg},      {"a.ogm", SourceKind::Ogg},
      {"a.ogv", SourceKind::Ogg},      {"a.ogx", SourceKind::Ogg},
      {"a.mod", SourceKind::Module},   {"a.xm", SourceKind::Module},
      {"a.it", SourceKind::Module},    {"a.s3m", SourceKind::Module},
      {"a.mtm", SourceKind::Module},   {"a.umx", SourceKind::Module},
      {"a.mo3", SourceKind::Module},   {"a.midi", SourceKind::Midi},
      {"a.mid", SourceKind::Midi},     {"a.rmi", SourceKind::Midi},
      {"a.kar", SourceKind::Midi},     {"a.au", SourceKind::Au},
      {"a.snd", SourceKind::Au},       {"a.aif", SourceKind::Aiff},
      {"a.aiff", SourceKind::Aiff},    {"a.aifc", SourceKind::Aiff},
      {"a.afc", SourceKind::Aiff},     {"a.cda", SourceKind::CdAudio},
      {"a.dts", SourceKind::Dts},      {"a.flac", SourceKind::Flac},
      {"a.fla", SourceKind::Flac},     {"a.wma", SourceKind::WindowsMedia},
      {"a.wmv", SourceKind::WindowsMedia}, {"a.asf", SourceKind::WindowsMedia},
      {"a.wm", SourceKind::WindowsMedia},  {"a.wmd", SourceKind::WindowsMedia},
      {"a.xwmv", SourceKind::WindowsMedia}, {"a.wv", SourceKind::WavPack},
      {"a.adx", SourceKind::Adx},      {"a.aac", SourceKind::Aac},
      {"a.mp4", SourceKind::Mpeg4},    {"a.m4v", SourceKind::Mpeg4},
      {"a.m4a", SourceKind::Mpeg4},    {"a.m4b", SourceKind::Mpeg4},
      {"a.mkv", SourceKind::Other},    {"a.avi", SourceKind::Other},
  };
  for (const auto& [path, kind] : cases) EXPECT_EQ(SourceKindFromPath(path), kind) << path;
}

TEST(SourceKind, ExtensionIsTheLastDotOfTheFileNameInAnyCase) {
  EXPECT_EQ(SourceKindFromPath("/music/backup.tar.ogg"), SourceKind::Ogg);
  EXPECT_EQ(SourceKindFromPath("/music/Song.MP3"), SourceKind::Mp3);
  EXPECT_EQ(SourceKindFromPath("/music/Song.Flac"), SourceKind::Flac);
  // A dot in a folder name is not an extension.
  EXPECT_EQ(SourceKindFromPath("/music/album.mp3/track"), SourceKind::Other);
  EXPECT_EQ(SourceKindFromPath("/music/noextension"), SourceKind::Other);
  EXPECT_EQ(SourceKindFromPath("/music/trailingdot."), SourceKind::Other);
}

}  // namespace
}  // namespace quillo
