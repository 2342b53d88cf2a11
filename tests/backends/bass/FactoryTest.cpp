// The installed back-end table and the audio library as the factory's
// candidate: probing every kind it serves, falling through to the framework,
// CD stubs and the sound font.
#include <gtest/gtest.h>

#include <filesystem>

#include "backends/InstalledBackends.h"
#include "backends/bass/BassSource.h"
#include "backends/bass/CdTrack.h"
#include "backends/bass/SoundFont.h"
#include "engine/Conversion.h"
#include "engine/SourceFactory.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

// The framework's stand-in: records that it was asked, and opens.
class FrameworkStandIn final : public MediaSource {
 public:
  explicit FrameworkStandIn(int& opened) : opened_(opened) {}
  void Close() override {}
  bool Open(const std::string&, int) override {
    ++opened_;
    sampleRate_ = 1234;
    return true;
  }
  int Read(int16_t*, int16_t*) override { return 0; }

 private:
  int& opened_;
};

std::vector<uint8_t> CdaStub(int track) {
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 36,  0,  0, 0, 'C', 'D', 'D',
                              'A', 'f', 'm', 't', ' ', 24, 0, 0, 0,   1,   0};
  out.push_back(static_cast<uint8_t>(track));
  out.push_back(static_cast<uint8_t>(track >> 8));
  const uint8_t rest[] = {0x78, 0x56, 0x34, 0x12,  // serial
                          0x96, 0x00, 0x00, 0x00,  // start sector 150
                          0x10, 0x27, 0x00, 0x00,  // 10000 sectors
                          0,    2,    0,    0,    0, 13, 2, 0};
  out.insert(out.end(), std::begin(rest), std::end(rest));
  return out;
}

class FactoryTest : public test::FolderTest {
 protected:
  void SetUp() override {
    wav_ = dir_.File("in.wav");
    test::WriteWav(wav_, 22050, 1, 16, false,
                   test::Widen(test::Sine(22050, 1, 22050 * 4, 330.0, 0.5)));
  }

  std::string wav_;
};

TEST_F(FactoryTest, ProbesEveryKindTheLibraryServes) {
  const std::string files[] = {
      Encode(wav_, "a.mp3", "-c:a libmp3lame"),
      wav_,
      Encode(wav_, "c.flac", ""),
      Encode(wav_, "d.wv", ""),
      Encode(wav_, "e.aac", "-c:a aac"),
      Encode(wav_, "f.m4a", "-c:a aac"),
      Encode(wav_, "g.m4b", "-c:a alac -f mp4"),
      Encode(wav_, "h.adx", "-c:a adpcm_adx"),
  };
  const InstalledBackends backends;
  SourceFactory factory(backends.table(), nullptr);
  MemoryFileList list;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    const ProbeResult result = ProbeFile(path, list, backends.table(), nullptr);
    ASSERT_EQ(result.status, ProbeResult::Status::Added);
    const FileItem& item = list.Items()[static_cast<size_t>(result.row)];
    EXPECT_EQ(item.sampleRate, 22050);
    EXPECT_EQ(item.channels, 1);
    EXPECT_EQ(item.duration, 4u);
    EXPECT_GT(item.bitRate, 0);
    EXPECT_TRUE(factory.Open(path, item.sourceKind, 0, false).dedicated);  // the library opened it
  }

  // Rendered kinds probe at the library's own rate.
  const std::string midi = dir_.File("song.mid");
  const std::string module = dir_.File("tune.mod");
  test::WriteFile(midi, test::TwoNoteSong());
  test::WriteFile(module, test::SquareModule());
  for (const auto& [path, seconds] : {std::pair{midi, 1u}, std::pair{module, 7u}}) {
    SCOPED_TRACE(path);
    const ProbeResult result = ProbeFile(path, list, backends.table(), nullptr);
    ASSERT_EQ(result.status, ProbeResult::Status::Added);
    const FileItem& item = list.Items()[static_cast<size_t>(result.row)];
    EXPECT_EQ(item.sampleRate, 44100);
    EXPECT_EQ(item.channels, 2);
    EXPECT_EQ(item.duration, seconds);
    EXPECT_EQ(item.bitRate, 1411);
  }

  // The full decode through the factory is the library's source.
  OpenedSource opened = factory.Open(files[2], SourceKind::Flac, 0, true);
  ASSERT_NE(opened.source, nullptr);
  EXPECT_NE(dynamic_cast<BassSource*>(opened.source.get()), nullptr);
  EXPECT_FALSE(opened.noAudio);
}

// The chains in priority order, and the library started with every handler.
TEST(InstalledBackendsTest, ChainsByKindAndALibraryReadyToDecode) {
  using B = SourceBackend;
  const InstalledBackends backends;
  const BackendTable& table = backends.table();
  const std::pair<SourceKind, std::vector<B>> chains[] = {
      {SourceKind::Mp3, {B::AudioLibrary, B::Framework}},
      {SourceKind::Mpeg4, {B::AudioLibrary, B::Framework}},
      {SourceKind::Ogg, {B::OggVorbis, B::AudioLibrary, B::Framework}},
      {SourceKind::Au, {B::Au, B::Framework}},
      {SourceKind::Aiff, {B::Aiff, B::AudioLibrary, B::Framework}},
      {SourceKind::Amr, {B::Amr, B::Framework}},
      {SourceKind::WindowsMedia, {B::WindowsMedia, B::Framework}},
      {SourceKind::Dts, {B::Framework}},
      {SourceKind::Other, {B::Framework}},
      {static_cast<SourceKind>(1234), {B::Framework}},
  };
  for (const auto& [kind, chain] : chains) {
    EXPECT_EQ(table.Candidates(kind), chain) << static_cast<int>(kind);
    for (B backend : chain) EXPECT_NE(table.MakeSource(backend, true), nullptr);
  }
  EXPECT_NE(table.MakeSink(FormatBackend::Framework), nullptr);
  EXPECT_NE(table.soundFont, nullptr);
  EXPECT_NE(table.windowsMedia, nullptr);

  const audio::AudioLibrary& library = backends.audioLibrary();
  EXPECT_TRUE(library.Started());
  for (auto plugin : {audio::Plugin::Flac, audio::Plugin::Cd, audio::Plugin::WavPack,
                      audio::Plugin::Aac, audio::Plugin::Adx, audio::Plugin::Alac})
    EXPECT_TRUE(library.HasPlugin(plugin));
}

TEST_F(FactoryTest, AFileTheLibraryCannotOpenFallsThroughInTheSameCall) {
  const std::string flac = Encode(wav_, "c.flac", "");
  const std::string mp3InMp4 = Encode(wav_, "d.m4a", "-c:a libmp3lame -f mp4");
  audio::AudioLibrary noFlac;
  test::StartLibrary(noFlac, {"flac"});
  int frameworkOpens = 0;
  const InstalledBackends installed;
  BackendTable table = installed.table();
  table.sources[SourceBackend::AudioLibrary] = [&](bool) {
    return std::make_unique<BassSource>(noFlac);
  };
  table.sources[SourceBackend::Framework] = [&](bool) {
    return std::make_unique<FrameworkStandIn>(frameworkOpens);
  };
  SourceFactory factory(table, nullptr);
  for (const auto& [path, kind] :
       {std::pair{flac, SourceKind::Flac}, std::pair{mp3InMp4, SourceKind::Mpeg4}}) {
    SCOPED_TRACE(path);
    const int before = frameworkOpens;
    OpenedSource opened = factory.Open(path, kind, 0, true);
    ASSERT_NE(opened.source, nullptr);
    EXPECT_EQ(frameworkOpens, before + 1);
    EXPECT_EQ(opened.source->GetSampleRate(), 1234);
    EXPECT_FALSE(opened.dedicated);  // a later failure is not retried
  }
  // What the library reads stays with it.
  OpenedSource wav = factory.Open(wav_, SourceKind::Wave, 0, true);
  ASSERT_NE(wav.source, nullptr);
  EXPECT_EQ(wav.source->GetSampleRate(), 22050);
  EXPECT_TRUE(wav.dedicated);
}

TEST_F(FactoryTest, CdaStubsAreParsedAndFailOffACdDrive) {
  const std::optional<audio::CdaHeader> header = audio::ParseCdaHeader(CdaStub(7));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->track, 7);
  EXPECT_EQ(header->startSector, 150u);
  EXPECT_EQ(header->lengthSectors, 10000u);
  EXPECT_FALSE(audio::ParseCdaHeader(CdaStub(0)));
  EXPECT_FALSE(audio::ParseCdaHeader(CdaStub(100)));
  std::vector<uint8_t> shortStub = CdaStub(3);
  shortStub.resize(40);
  EXPECT_FALSE(audio::ParseCdaHeader(shortStub));
  std::vector<uint8_t> wave = CdaStub(3);
  wave[8] = 'W';
  EXPECT_FALSE(audio::ParseCdaHeader(wave));

  const std::string cda = dir_.File("Track01.cda");
  test::WriteFile(cda, CdaStub(1));
  const InstalledBackends backends;
  MemoryFileList list;
  const ProbeResult result = ProbeFile(cda, list, backends.table(), nullptr);
  EXPECT_EQ(result.status, ProbeResult::Status::Failed);
  EXPECT_EQ(result.detail, kCdaOnHardDiskDetail);
  EXPECT_TRUE(list.Items().empty());
}

TEST(CdMountTest, FindsTheDeviceOfTheLongestMountPoint) {
  const std::string mountinfo =
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "40 22 11:0 / /media/ann/My\\040Disc rw,nosuid shared:20 - iso9660 /dev/sr0 ro\n"
      "41 22 8:17 / /media/ann/My rw shared:21 - vfat /dev/sdb1 rw\n"
      "garbage line\n";
  EXPECT_EQ(audio::MountSourceFor(mountinfo, "/media/ann/My Disc/Track01.cda"), "/dev/sr0");
  EXPECT_EQ(audio::MountSourceFor(mountinfo, "/media/ann/My/Track01.cda"), "/dev/sdb1");
  EXPECT_EQ(audio::MountSourceFor(mountinfo, "/media/ann/MyOther/x.cda"), "/dev/sda1");
  EXPECT_EQ(audio::MountSourceFor("", "/x.cda"), "");
}

TEST(SoundFontTest, LooksBesideTheProgramThenInTheSystemFolder) {
  test::TempDir dir;
  const std::filesystem::path program = dir.path() / "bin";
  const std::filesystem::path data = dir.path() / "share";
  const std::filesystem::path system = dir.path() / "sf2";
  for (const auto& folder : {program, data, system}) std::filesystem::create_directories(folder);
  const std::vector<std::string> folders = {program.string(), data.string()};

  EXPECT_EQ(audio::FindSoundFont(folders, system.string()), "");
  test::WriteFile((system / "zz.sf2").string(), {1});
  test::WriteFile((system / "Piano.SF2").string(), {1});
  test::WriteFile((system / "notes.txt").string(), {1});
  EXPECT_EQ(audio::FindSoundFont(folders, system.string()), (system / "Piano.SF2").string());
  test::WriteFile((system / "default-GM.sf2").string(), {1});
  EXPECT_EQ(audio::FindSoundFont(folders, system.string()), (system / "default-GM.sf2").string());
  test::WriteFile((data / "ct4mgm.sf2").string(), {1});
  EXPECT_EQ(audio::FindSoundFont(folders, system.string()), (data / "ct4mgm.sf2").string());
  test::WriteFile((program / "ct4mgm.sf2").string(), {1});
  EXPECT_EQ(audio::FindSoundFont(folders, system.string()), (program / "ct4mgm.sf2").string());

  // A file that is no sound font is not taken as the default font.
  audio::AudioLibrary library;
  ASSERT_TRUE(library.Init());
  EXPECT_EQ(audio::AudioLibrary::MidiFontInit((program / "ct4mgm.sf2").string()), nullptr);
  EXPECT_FALSE(library.MidiStreamSetDefaultFont(nullptr));
  EXPECT_FALSE(library.SoundFontLoaded());
  const std::string real = audio::FindSoundFont({}, audio::kSystemSoundFontFolder);
  ASSERT_FALSE(real.empty()) << "the system General MIDI sound font is missing";
  EXPECT_TRUE(library.MidiStreamSetDefaultFont(audio::AudioLibrary::MidiFontInit(real)));
  EXPECT_EQ(library.DefaultSoundFontPath(), real);
  library.Free();
  EXPECT_FALSE(library.SoundFontLoaded());
  EXPECT_FALSE(library.Started());
}

TEST(LibraryStateTest, NothingOpensBeforeStartOrAfterFree) {
  test::TempDir dir;
  const std::string wav = dir.File("a.wav");
  test::WriteWav(wav, 8000, 1, 16, false, test::Widen(test::Sine(8000, 1, 800, 100.0, 0.5)));
  audio::AudioLibrary library;
  BassSource source(library);
  EXPECT_FALSE(source.Open(wav, 0));
  test::StartLibrary(library);
  EXPECT_TRUE(source.Open(wav, 0));
  library.Free();
  EXPECT_FALSE(source.Open(wav, 0));
}

}  // namespace
}  // namespace quillo
