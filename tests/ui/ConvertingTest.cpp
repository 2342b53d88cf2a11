#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "backends/tags/PictureReader.h"
#include "catalog/Catalog.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DoubleBarDialog.h"
#include "ui/FormatBox.h"
#include "ui/TerminationNotifier.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::WindowTest;

class Converting : public ::testing::Test, public WindowTest {
 protected:
  void Add(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& path : paths) list.push_back(QString::fromStdString(path));
    Window().AddChosenFiles(list);
    ASSERT_EQ(Model().Count(), static_cast<int>(paths.size()));
  }
  // Rate, channels and frames of a file as ffprobe and ffmpeg read it.
  static std::tuple<std::string, std::string, size_t> Decoded(const std::string& path) {
    const std::string probe = test::ProbeWithFfprobe(path);
    const std::string channels = test::FfprobeField(probe, "channels");
    const size_t samples = test::DecodeWithFfmpeg(path).size();
    return {test::FfprobeField(probe, "sample_rate"), channels,
            channels.empty() ? 0 : samples / std::stoul(channels)};
  }
};

// Three files, the second damaged after it was listed: the cells show both
// outputs with their gain and the failure between them, the outputs decode
// to the sources' audio, the file manager shows the first output, and the
// desktop hears how the run ended unseen.
TEST_F(Converting, ConvertAllFillsTheCellsOfEveryFile) {
  settings.outputFormat = format_id::kWav;
  const std::string one = test::MakeAudio(dir.File("one.wav"), "sine=f=440:d=1:r=44100");
  const std::string two = test::MakeAudio(dir.File("two.wav"), "sine=f=440:d=1");
  const std::string three = test::MakeAudio(
      dir.File("three.flac"), "aevalsrc=0.5*sin(2*PI*300*t)|0.2*sin(2*PI*500*t):s=22050:d=0.5");
  Add({one, two, three});
  test::WriteFile(two, std::vector<uint8_t>(100, 0x55));

  // The window is not active: every run counts as long enough for a notice.
  Window().SetNoticeAfter(std::chrono::milliseconds(0));
  test::RunToEnd(Window(), Command::ConvertAll);
  EXPECT_EQ(shell.notices,
            std::vector<std::string>{"Conversion finished: 2 file(s) converted, 1 failed."});
  EXPECT_EQ(ColumnTexts(kVolumeColumn), (std::vector<std::string>{"100.00%", "", "100.00%"}));
  const std::vector<std::string> outputs = ColumnTexts(kOutputColumn);
  EXPECT_EQ(outputs[0], "one.wav");
  EXPECT_TRUE(outputs[1] == "No audio in the file" ||
              outputs[1].rfind("Conversion Failure", 0) == 0)
      << outputs[1];
  EXPECT_EQ(outputs[2], "three.wav");
  EXPECT_EQ(Decoded(out + "/one.wav"), std::make_tuple("44100", "1", size_t{44100}));
  EXPECT_EQ(Decoded(out + "/three.wav"), std::make_tuple("22050", "2", size_t{11025}));
  EXPECT_EQ(test::DecodeWithFfmpeg(out + "/three.wav"), test::DecodeWithFfmpeg(three));
  EXPECT_EQ(shell.revealed, std::vector<std::string>{out + "/one.wav"});
  EXPECT_TRUE(Model().Item(1).outputPath.empty());
  EXPECT_EQ(Model().Item(2).outputPath, out + "/three.wav");
  EXPECT_FALSE(Window().IsBusy());

  // Joined: the save dialog's file holds both files at the higher rate, in
  // two channels.
  Window().List().selectionModel()->select(Model().index(0, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
  Window().List().selectionModel()->select(Model().index(2, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
  prompts.outputFile = dir.File("joined.wav");
  test::RunToEnd(Window(), Command::ConvertSelectedToOne);
  EXPECT_EQ(Decoded(dir.File("joined.wav")), std::make_tuple("44100", "2", size_t{44100 + 22050}));
  EXPECT_EQ(ColumnTexts(kOutputColumn)[0], "joined.wav");
  EXPECT_EQ(ColumnTexts(kOutputColumn)[2], "joined.wav");
}

// The window converts through the same entry as the command line, several
// files at once: per row, the cells name every output with its gain, the
// outputs decode to the sources' length and tone, and the first output is
// revealed, as in a one-at-a-time run.
TEST_F(Converting, RowsConvertSeveralFilesAtOnce) {
  std::vector<std::string> paths;
  for (const test::ToneSource& source : test::kToneSources)
    paths.push_back(test::MakeAudio(dir.File(std::string(source.name) + ".wav"), source.lavfi));
  Add(paths);
  Window().SetJobs(2);
  for (int32_t id : {format_id::kMp3, format_id::kWma, format_id::kAmr, format_id::kFlac}) {
    const std::string extension(FindFormat(settings.formats, id)->extension);
    SCOPED_TRACE(extension);
    Window().Formats().setCurrentIndex(Window().Formats().findData(id));
    test::RunToEnd(Window(), Command::ConvertAll);
    for (size_t i = 0; i < paths.size(); ++i) {
      const std::string name = std::string(test::kToneSources[i].name) + "." + extension;
      EXPECT_EQ(ColumnTexts(kOutputColumn)[i], name);
      EXPECT_EQ(ColumnTexts(kVolumeColumn)[i], "100.00%");
      EXPECT_EQ(Model().Item(static_cast<int>(i)).outputPath, out + "/" + name);
      const test::DecodedAudio audio = test::DecodeAudio(out + "/" + name);
      EXPECT_NEAR(audio.Seconds(), 1.0, 0.25) << name;
      EXPECT_NEAR(test::ToneFrequency(audio), test::kToneSources[i].hz,
                  test::kToneSources[i].hz * 0.03)
          << name;
    }
    ASSERT_FALSE(shell.revealed.empty());
    EXPECT_EQ(shell.revealed.back(), out + "/stereo." + extension);
  }
}

// What the options add beyond the audio reaches every output of a window's
// run, two files at a time: the source's cover, the loudness target (each
// Volume cell shows its own gain) and the ReplayGain tags of the audio as
// written.
TEST_F(Converting, CoversLoudnessAndReplayGainReachEveryOutput) {
  settings.outputFormat = format_id::kMp3;
  settings.id3TagType = TagMode::FromSource;
  settings.volumeType = VolumeMode::Loudness;
  settings.loudnessTarget = -20;
  settings.writeReplayGain = 1;
  std::vector<std::string> sources;
  for (const char* level : {"0.3", "0.1"}) {
    const std::string cover = dir.File(std::string("cover") + level + ".png");
    test::Run("ffmpeg -v error -y -f lavfi -i testsrc=size=48x32 -frames:v 1 " + cover);
    const std::string path = dir.File(std::string("noise") + level + ".flac");
    // Noise below 12 kHz: the MP3 encoder cuts the highest frequencies, which
    // in full-band noise alone take about half a unit of loudness off the
    // output, at the edge of the tolerance whatever the gain was.
    test::Run(
        std::string("ffmpeg -v error -y -f lavfi -i anoisesrc=color=pink:d=2:seed=5:amplitude=") +
        level + " -i " + cover +
        " -map 0 -map 1 -c:v copy -disposition:v attached_pic -af lowpass=f=12000 -ac 2 " + path);
    sources.push_back(path);
  }
  Add(sources);
  Window().SetJobs(2);
  test::RunToEnd(Window(), Command::ConvertAll);

  const std::vector<std::string> volumes = ColumnTexts(kVolumeColumn);
  EXPECT_NE(volumes[0], volumes[1]);
  for (size_t i = 0; i < sources.size(); ++i) {
    const std::string output = Model().Item(static_cast<int>(i)).outputPath;
    SCOPED_TRACE(output);
    CoverPicture in, written;
    ASSERT_TRUE(ReadCoverPicture(sources[i], in));
    ASSERT_TRUE(ReadCoverPicture(output, written));
    EXPECT_EQ(written, in);
    const test::LoudnessReading loudness = test::MeasureLoudness(output, true);
    EXPECT_NEAR(loudness.lufs, -20.0, 0.5);
    EXPECT_LE(loudness.peakDb, -0.9);
    std::smatch gain;
    const std::string tags =
        test::Capture("ffprobe -v error -show_entries format_tags -of flat " + output);
    ASSERT_TRUE(std::regex_search(
        tags, gain, std::regex("replaygain_track_gain=\"([-+0-9.]+)", std::regex::icase)))
        << tags;
    EXPECT_NEAR(std::stod(gain[1]), -18.0 - -20.0, 0.3);
  }
}

// Under a German desktop the process's printf writes a decimal comma; the
// numbers the window writes keep their point: each output's ReplayGain tags,
// read back as the text in the file, and its Volume cell and level note.
// The source's peaks hold its gain short of the loudness target, so the
// cells carry a note, and each number says what was done to the audio.
TEST_F(Converting, NumbersKeepTheirPointUnderACommaLocale) {
  settings.id3TagType = TagMode::FromSource;
  settings.volumeType = VolumeMode::Loudness;
  settings.loudnessTarget = -20;
  settings.writeReplayGain = 1;
  const std::string source = test::MakeAudio(
      dir.File("spiky.wav"),
      "aevalsrc=0.05*sin(2*PI*440*t)+0.5*lt(mod(n\\,22050)\\,1)|0.05*sin(2*PI*440*t):s=44100:d=2");
  Add({source});
  struct Written {
    std::string output, volume, cell;
  };
  std::vector<Written> written;
  {
    test::CommaLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale source to build";
    char comma[16];
    std::snprintf(comma, sizeof comma, "%.2f", 1.5);
    ASSERT_STREQ(comma, "1,50") << "the process must really write a comma";
    for (int32_t id : {format_id::kFlac, format_id::kMp3}) {
      Window().Formats().setCurrentIndex(Window().Formats().findData(id));
      test::RunToEnd(Window(), Command::ConvertAll);
      written.push_back({Model().Item(0).outputPath, ColumnTexts(kVolumeColumn)[0],
                         ColumnTexts(kOutputColumn)[0]});
    }
  }
  // The lossless output is the audio as the run wrote it; the lossy one's
  // numbers measure that same audio before its encoder.
  const double sourceLufs = test::MeasureLoudness(source, true).lufs;
  const double writtenLufs = test::MeasureLoudness(written[0].output, true).lufs;
  for (const Written& w : written) {
    SCOPED_TRACE(w.output);
    std::smatch volume, note, gain, peak;
    ASSERT_TRUE(std::regex_match(w.volume, volume, std::regex("([0-9]+\\.[0-9]{2})%")));
    ASSERT_TRUE(std::regex_match(
        w.cell, note,
        std::regex("spiky\\.[a-z0-9]+ \\((-[0-9]+\\.[0-9]) LUFS, held by the true-peak limit\\)")));
    const std::string tags = test::Capture(
        "ffprobe -v error -show_entries format_tags:stream_tags -of flat " + w.output);
    ASSERT_TRUE(std::regex_search(
        tags, gain,
        std::regex("replaygain_track_gain=\"([-+][0-9]+\\.[0-9]{2}) dB\"", std::regex::icase)))
        << tags;
    ASSERT_TRUE(std::regex_search(
        tags, peak, std::regex("replaygain_track_peak=\"(0\\.[0-9]{6})\"", std::regex::icase)))
        << tags;
    EXPECT_NEAR(writtenLufs - sourceLufs, 20.0 * std::log10(std::stod(volume[1]) / 100.0), 0.3);
    EXPECT_NEAR(writtenLufs, std::stod(note[1]), 0.3);
    EXPECT_NEAR(std::stod(gain[1]), -18.0 - writtenLufs, 0.3);
    // The source's spikes of 0.5, after the gain.
    EXPECT_NEAR(std::stod(peak[1]), 0.5 * std::stod(volume[1]) / 100.0, 0.01);

    const test::DecodedAudio audio = test::DecodeAudio(w.output);
    EXPECT_EQ(audio.rate, 44100);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_NEAR(audio.Seconds(), 2.0, 0.1);
    EXPECT_NEAR(test::MeasureLoudness(w.output, true).lufs, writtenLufs, 0.6);
  }
}

TEST_F(Converting, CommandsSayWhatIsMissing) {
  Window().Run(Command::ConvertAll);
  Window().Run(Command::ConvertSelectedToOne);
  EXPECT_EQ(prompts.informs, (std::vector<std::string>{MainWindow::kEmptyListMessage,
                                                       MainWindow::kSelectFileMessage}));
  EXPECT_EQ(test::VisibleWindow<DoubleBarDialog>(), nullptr);
}

// Cancel while files convert: one job at a time stops within the first
// file and leaves the second untouched; two jobs stop both running files.
// No output or partial file is left, nothing is revealed, and the window
// takes commands again. A row the run never reached reads as never
// converted, though an earlier run had written it: Play Destination has
// nothing to open there.
TEST_F(Converting, CancelStopsTheRunningFiles) {
  const std::string first = test::MakeAudio(dir.File("first.wav"), "sine=f=440:d=120:r=22050");
  const std::string second = test::MakeAudio(dir.File("second.wav"), "sine=f=440:d=120:r=22050");
  Add({first, second});
  const struct {
    int jobs;
    const char* overall;
    std::vector<std::string> cells;
  } cases[] = {
      {1, "Converting 1 of 2 file(s) to MP3...", {"Cancelled", ""}},
      {2, "Converting 2 of 2 file(s) to MP3...", {"Cancelled", "Cancelled"}},
  };
  const std::string earlier = test::MakeAudio(dir.File("earlier.mp3"), "sine=d=0.1");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.jobs);
    Window().SetJobs(c.jobs);
    // What an earlier run left in the second row.
    Model().Item(1).outputPath = earlier;
    Model().SetVolumeCell(1, "100.00%");
    Model().SetOutputCell(1, "earlier.mp3");
    int fileBar = 0;
    bool listEnabled = true;
    test::WhileRunning(
        [&] {
          auto* dialog = test::VisibleWindow<DoubleBarDialog>();
          // Every job has its file under way.
          if (dialog == nullptr || dialog->FileBar()->value() == 0 ||
              dialog->OverallText() != c.overall)
            return false;
          listEnabled = Window().List().isEnabled();
          fileBar = dialog->FileBar()->value();
          dialog->CancelButton()->click();
          return true;
        },
        [&] { test::RunToEnd(Window(), Command::ConvertAll); });
    EXPECT_FALSE(listEnabled);
    EXPECT_GT(fileBar, 0);
    EXPECT_EQ(ColumnTexts(kOutputColumn), c.cells);
    EXPECT_EQ(ColumnTexts(kVolumeColumn), std::vector<std::string>(2, ""));
    EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out));
    EXPECT_TRUE(shell.revealed.empty());
    EXPECT_TRUE(Window().List().isEnabled());
    EXPECT_EQ(test::VisibleWindow<DoubleBarDialog>(), nullptr);
    Window().List().selectionModel()->select(
        Model().index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const size_t opened = shell.opened.size();  // the help page of the first start
    Window().Run(Command::PlayDestination);
    EXPECT_EQ(shell.opened.size(), opened);
  }
}

// SIGTERM during a run is a Cancel and then a close: the partial output
// goes, and the window stores its settings as a close does.
TEST_F(Converting, TerminationSignalCancelsAndCloses) {
  Add({test::MakeAudio(dir.File("long.wav"), "sine=f=440:d=120:r=22050")});
  Window().show();
  Window().Formats().setCurrentIndex(Window().Formats().findData(format_id::kFlac));
  TerminationNotifier stopSignals;
  QObject::connect(&stopSignals, &TerminationNotifier::received, &Window(), &MainWindow::Quit);
  test::WhileRunning(
      [&] {
        auto* dialog = test::VisibleWindow<DoubleBarDialog>();
        if (dialog == nullptr || dialog->FileBar()->value() == 0) return false;
        std::raise(SIGTERM);
        return true;
      },
      [&] { test::RunToEnd(Window(), Command::ConvertAll); });
  EXPECT_EQ(ColumnTexts(kOutputColumn), std::vector<std::string>{"Cancelled"});
  EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Window().isVisible(); }, 2000));
  ConversionSettings stored(out);
  store.load(stored);
  EXPECT_EQ(stored.outputFormat, format_id::kFlac);
}

// Closing the window while a file converts asks first. "No" lets the run go
// on; "Yes" cancels it, leaves no partial output and closes the window once
// the run has stopped.
TEST_F(Converting, ClosingDuringARunAsksToCancelAndQuit) {
  Add({test::MakeAudio(dir.File("long.wav"), "sine=f=440:d=120:r=22050")});
  Window().show();
  for (bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    prompts.answer = yes;
    prompts.questions.clear();
    bool stillRunning = false, transient = false;
    test::WhileRunning(
        [&] {
          auto* dialog = test::VisibleWindow<DoubleBarDialog>();
          if (dialog == nullptr || dialog->FileBar()->value() == 0) return false;
          transient = dialog->windowHandle()->transientParent() == Window().windowHandle();
          Window().close();
          stillRunning = Window().IsBusy() && Window().isVisible();
          // Declined: the run is stopped here so the test ends.
          if (!yes) dialog->CancelButton()->click();
          return true;
        },
        [&] { test::RunToEnd(Window(), Command::ConvertAll); });
    EXPECT_EQ(prompts.questions,
              std::vector<std::string>{"A conversion is running. Cancel it and quit?"});
    EXPECT_TRUE(transient) << "the dialog belongs to the window";
    EXPECT_TRUE(stillRunning) << "the window waits for the run to stop";
    EXPECT_EQ(ColumnTexts(kOutputColumn), std::vector<std::string>{"Cancelled"});
    EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out));
    EXPECT_EQ(QTest::qWaitFor([&] { return !Window().isVisible(); }, 2000), yes);
  }
}

}  // namespace
}  // namespace quillo
