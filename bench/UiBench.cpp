// The window's list at scale, offscreen:
//   quillo_bench_ui add N    adds a folder of N small WAV files through Add
//                            Folder's path (search, probe, list) and prints
//                            the files added per second;
//   quillo_bench_ui sort N   fills the list with N rows and sorts it by each
//                            column, both ways, printing each time;
//   quillo_bench_ui convert FOLDER
//                            adds a folder and converts it to MP3 from the
//                            window (one file per processor), printing the
//                            seconds from Convert to the end of the run.
// Both print the process's peak memory at the end (bench/ui.sh runs them).

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "backends/InstalledBackends.h"
#include "catalog/OutputFormat.h"
#include "settings/IniSettingsProvider.h"
#include "settings/SettingsStore.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/ListColumns.h"
#include "ui/MainWindow.h"
#include "ui/Shell.h"

namespace {

namespace fs = std::filesystem;
using namespace quillo;

struct QuietPrompts final : UserPrompts {
  void Inform(const std::string&) override {}
  void Warn(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  void Note(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
  std::optional<std::string> AskOutputFile(const std::string&) override { return std::nullopt; }
  void OpenLocation(const std::string&) override {}
};

struct NoShell final : Shell {
  void Open(const std::string&) override {}
  void Reveal(const std::string&) override {}
};

// 0.1 s of 8000 Hz mono 16-bit PCM.
void WriteSmallWav(const fs::path& path) {
  const uint32_t frames = 800;
  std::string bytes = "RIFF";
  const auto put = [&bytes](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
  };
  put(36 + frames * 2, 4);
  bytes += "WAVEfmt ";
  put(16, 4), put(1, 2), put(1, 2), put(8000, 4), put(16000, 4), put(2, 2), put(16, 2);
  bytes += "data";
  put(frames * 2, 4);
  for (uint32_t n = 0; n < frames; ++n) put(static_cast<uint32_t>((n * 97) % 2000), 2);
  std::ofstream(path, std::ios::binary) << bytes;
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

int Add(MainWindow& window, int count, const fs::path& work) {
  const fs::path folder = work / "many";
  for (int i = 0; i < count; ++i) {
    const fs::path sub = folder / ("disc " + std::to_string(i / 1000));
    if (i % 1000 == 0) fs::create_directories(sub);
    WriteSmallWav(sub / ("track " + std::to_string(i) + ".wav"));
  }
  QElapsedTimer timer;
  timer.start();
  window.AddFolderPath(QString::fromStdString(folder.string()));
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  std::printf("add: %d of %d files in %.2f s: %.0f files/s (goal: 1000)\n", window.Model().Count(),
              count, seconds, window.Model().Count() / seconds);
  return window.Model().Count() == count ? 0 : 1;
}

int Sort(MainWindow& window, int count) {
  std::mt19937 random(12345);
  FileListModel& model = window.Model();
  static const char* const kWords[] = {"Morning", "river", "Allegro", "intro", "Zebra", "échos",
                                       "live",    "Take",  "demo",    "Café",  "night", "04"};
  for (int i = 0; i < count; ++i) {
    FileItem item;
    item.path = "/music/Artist " + std::to_string(random() % 500) + "/" + kWords[random() % 12] +
                " " + kWords[random() % 12] + " " + std::to_string(i) + ".mp3";
    item.duration = random() % 7200;
    item.bitRate = static_cast<int>(random() % 1500);
    item.sampleRate = static_cast<int>(8000 + random() % 88000);
    item.channels = static_cast<int>(random() % 9);
    const int row = model.Append(item, item.path);
    model.SetVolumeCell(row, std::to_string(random() % 300) + ".00%");
    model.SetOutputCell(row, kWords[random() % 12] + std::to_string(i) + ".wav");
  }
  QApplication::processEvents();
  double worst = 0;
  for (int column = 0; column < kColumnCount; ++column) {
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
      QElapsedTimer timer;
      timer.start();
      model.sort(column, order);
      QApplication::processEvents();  // the view lays the rows out again
      const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
      worst = std::max(worst, seconds);
      std::printf("sort %s %s: %.3f s\n", Column(column).heading,
                  order == Qt::AscendingOrder ? "ascending" : "descending", seconds);
    }
  }
  // With every row selected, the selection moves with the rows.
  window.List().selectAll();
  QElapsedTimer timer;
  timer.start();
  model.sort(kFileColumn, Qt::AscendingOrder);
  QApplication::processEvents();
  const double selected = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  worst = std::max(worst, selected);
  std::printf("sort File ascending, every row selected: %.3f s\n", selected);
  std::printf("sort: slowest %.3f s for %d rows (goal: under 0.5 s)\n", worst, count);
  return 0;
}

int Convert(MainWindow& window, const std::string& folder) {
  window.AddFolderPath(QString::fromStdString(folder));
  QElapsedTimer timer;
  timer.start();
  window.Run(Command::ConvertAll);
  while (window.IsBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  int converted = 0;
  for (int row = 0; row < window.Model().Count(); ++row)
    converted += window.Model().Item(row).outputPath.empty() ? 0 : 1;
  std::printf("convert: %d of %d files in %.2f s\n", converted, window.Model().Count(), seconds);
  return converted == window.Model().Count() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode != "add" && mode != "sort" && mode != "convert") {
    std::fprintf(stderr, "usage: %s add|sort COUNT, or %s convert FOLDER\n", argv[0], argv[0]);
    return 2;
  }
  const int count = std::atoi(argv[2]);
  const fs::path work = fs::temp_directory_path() / ("quillo-bench-ui-" + std::to_string(getpid()));
  fs::create_directories(work);

  const InstalledBackends backends;
  ConversionSettings settings((work / "out").string());
  IniSettingsProvider provider((work / "quillo.conf").string());
  SettingsStore store(provider);
  settings.outputFormat = format_id::kMp3;
  store.checkFirstRun();  // no help page
  QuietPrompts prompts;
  NoShell shell;
  int status = 0;
  {
    MainWindow window({backends.table(), settings, store, prompts, shell});
    window.show();
    QApplication::processEvents();
    if (mode == "add") status = Add(window, count, work);
    if (mode == "sort") status = Sort(window, count);
    if (mode == "convert") status = Convert(window, argv[2]);
  }
  std::printf("%s: peak memory %ld MB\n", mode.c_str(), PeakMegabytes());
  fs::remove_all(work);
  return status;
}
