// AU files reach the AU reader through the source factory and probing.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <string>

#include "backends/InstalledBackends.h"
#include "engine/Conversion.h"
#include "engine/SourceFactory.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

// The real back-ends, recording which ones were tried.
struct RecordingFactory {
  RecordingFactory() {
    for (auto& [backend, make] : table.sources)
      make = [this, backend = backend, real = make](bool full) {
        tried.push_back(backend);
        return real(full);
      };
  }
  RecordingFactory(const RecordingFactory&) = delete;

  const InstalledBackends installed;
  BackendTable table = installed.table();
  std::vector<SourceBackend> tried;
  SourceFactory factory{table, nullptr};
};

TEST(AuProbe, ListsTheReadersProperties) {
  TempDir dir;
  const std::string stereo = dir.File("three seconds.au");
  WriteWithSndfile(stereo, SF_FORMAT_AU | SF_FORMAT_PCM_16, 44100, 2,
                   TestSignal(2, 3 * 44100 + 100, 1));
  const std::string mulaw = dir.File("speech.snd");
  WriteWithSndfile(mulaw, SF_FORMAT_AU | SF_FORMAT_ULAW, 8000, 1, TestSignal(1, 20000, 2));
  const std::string surround = dir.File("surround.au");
  WriteWithSndfile(surround, SF_FORMAT_AU | SF_FORMAT_PCM_24, 48000, 6, TestSignal(6, 48000, 3));

  struct Expected {
    std::string path;
    int channels;
    int rate;
    int bitRate;
    uint32_t duration;
  };
  // The bit rate is the data size over the whole seconds of playing time.
  const Expected files[] = {
      {stereo, 2, 44100, (3 * 44100 + 100) * 4 / (3 * 125), 3},
      {mulaw, 1, 8000, 20000 / (2 * 125), 2},
      {surround, 6, 48000, 48000 * 18 / 125, 1},
  };
  MemoryFileList list;
  RecordingFactory recorder;
  for (const Expected& e : files) {
    recorder.tried.clear();
    const ProbeResult result = ProbeFile(e.path, list, recorder.table, nullptr);
    ASSERT_EQ(result.status, ProbeResult::Status::Added) << e.path;
    EXPECT_EQ(recorder.tried, std::vector<SourceBackend>{SourceBackend::Au}) << e.path;
    const FileItem& item = list.Items().at(static_cast<size_t>(result.row));
    EXPECT_EQ(item.sourceKind, SourceKind::Au);
    EXPECT_EQ(item.channels, e.channels) << e.path;
    EXPECT_EQ(item.sampleRate, e.rate) << e.path;
    EXPECT_EQ(item.bitRate, e.bitRate) << e.path;
    EXPECT_EQ(item.duration, e.duration) << e.path;
  }
  EXPECT_EQ(ProbeFile(stereo, list, recorder.table, nullptr).status,
            ProbeResult::Status::Duplicate);
}

TEST(AuProbe, ConversionOpensTheReaderAndDecodes) {
  TempDir dir;
  const std::string path = dir.File("tone.au");
  WriteWithSndfile(path, SF_FORMAT_AU | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE, 22050, 2,
                   TestSignal(2, 5000, 4));
  RecordingFactory recorder;
  OpenedSource opened = recorder.factory.Open(path, SourceKind::Au, 44100, true);
  ASSERT_NE(opened.source, nullptr);
  MediaSource* source = opened.source.get();
  EXPECT_EQ(recorder.tried, std::vector<SourceBackend>{SourceBackend::Au});
  EXPECT_TRUE(opened.dedicated);
  EXPECT_FALSE(opened.noAudio);
  EXPECT_EQ(source->GetSampleRate(), 22050);
  EXPECT_EQ(ReadAll(*source).samples, ReadWithSndfile(path).samples);
}

TEST(AuProbe, FilesTheReaderRefusesGoToTheFramework) {
  TempDir dir;
  const std::string path = dir.File("odd.au");
  // A coding the reader does not know.
  WriteFile(path, AuFile(true, 8, 8000, 1, std::vector<uint8_t>(800, 0)));
  RecordingFactory recorder;
  MemoryFileList list;
  ProbeFile(path, list, recorder.table, nullptr);
  ASSERT_GE(recorder.tried.size(), 2u);
  EXPECT_EQ(recorder.tried[0], SourceBackend::Au);
  EXPECT_EQ(recorder.tried[1], SourceBackend::Framework);
}

}  // namespace
}  // namespace quillo::test
