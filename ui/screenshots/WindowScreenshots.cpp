// Takes screenshots of the window under a real display (run it under Xvfb:
// scripts/screenshots.sh): the window with a list of real files after a
// conversion in which one file failed, each progress dialog while its
// command runs, and the list's context menu.

#include <QApplication>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "catalog/Catalog.h"
#include "tests/ui/TextFit.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DoubleBarDialog.h"
#include "ui/FormatBox.h"
#include "ui/ListColumns.h"
#include "ui/ListMenus.h"
#include "ui/SingleBarDialog.h"
#include "ui/screenshots/ScreenshotSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace quillo;
using screenshots::Settle;

QString outputFolder;

void Save(const QString& name, const QRect& area) {
  screenshots::Save(outputFolder + "/" + name, area);
}

void ReportTexts(const char* what, const QWidget& widget, const QList<int>& elided = {}) {
  for (const QString& problem : test::TextsThatDoNotFit(widget, elided))
    std::printf("%s: text cut: %s\n", what, qPrintable(problem));
}

QRect Around(const QWidget& widget, int margin) {
  return widget.frameGeometry().adjusted(-margin, -margin, margin, margin);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  outputFolder = screenshots::Start(argc, argv);
  if (outputFolder.isEmpty()) return 2;

  test::WindowTest world;
  const std::string in = world.dir.File("Music");
  fs::create_directories(in);
  const std::string damaged = in + "/Interview (raw).wav";
  const std::vector<std::string> files = {
      test::MakeAudio(in + "/Morning Walk.mp3", "sine=f=330:d=187"),
      test::MakeAudio(in + "/Field Recording 03.wav", "sine=f=440:d=62:r=48000"),
      test::MakeAudio(in + "/Quartet in D - Allegro.flac",
                      "aevalsrc=0.3*sin(2*PI*440*t)|0.3*sin(2*PI*660*t):s=96000:d=20"),
      test::MakeAudio(in + "/Lecture, part 1.flac", "sine=f=200:d=3725:r=16000"),
      test::MakeAudio(in + "/Voice memo.ogg", "sine=f=220:d=9:r=22050"),
      test::MakeAudio(damaged, "sine=f=440:d=4"),
      test::MakeAudio(in + "/Holiday clip.aiff", "sine=f=500:d=75:r=32000"),
  };
  test::Run("ffmpeg -v error -y -f lavfi -i testsrc=d=5:s=320x240 -f lavfi -i sine=d=5 -shortest " +
            test::ShellQuote(in + "/Birthday video.mp4"));
  QStringList paths;
  for (const std::string& file : files) paths.push_back(QString::fromStdString(file));
  paths.push_back(QString::fromStdString(in + "/Birthday video.mp4"));

  MainWindow& window = world.Window();
  window.move(40, 40);
  window.show();
  Settle();

  // The adding dialog, caught while it works through many copies.
  QStringList many;
  for (int i = 0; i < 400; ++i) {
    const std::string copy = world.dir.File("copies/Track " + std::to_string(i + 1) + ".wav");
    fs::create_directories(fs::path(copy).parent_path());
    fs::copy_file(files[1], copy, fs::copy_options::overwrite_existing);
    many.push_back(QString::fromStdString(copy));
  }
  test::WhileRunning(
      [&] {
        auto* dialog = test::VisibleWindow<SingleBarDialog>();
        if (dialog == nullptr || dialog->Position() < 150) return false;
        Save("adding-dialog.png", Around(*dialog, 8));
        dialog->CancelButton()->click();
        return true;
      },
      [&] { window.AddChosenFiles(many); });
  window.Run(Command::RemoveAll);

  window.AddChosenFiles(paths);
  test::WriteFile(damaged, std::vector<uint8_t>(64, 0x11));
  // Each file to MP3, two at a time; the conversion dialog is caught while
  // two files convert.
  bool caught = false;
  test::WhileRunning(
      [&] {
        auto* dialog = test::VisibleWindow<DoubleBarDialog>();
        if (dialog == nullptr || dialog->FileBar()->value() < 20) return false;
        // Two files under way: started ("Converting N of M ...") less done.
        const int started = dialog->OverallText().section(u' ', 1, 1).toInt();
        if (started - dialog->OverallBar()->value() < 2) return false;
        Save("converting-dialog.png", Around(*dialog, 8));
        ReportTexts("converting dialog", *dialog);
        caught = true;
        return true;
      },
      [&] { test::RunToEnd(window, Command::ConvertAll); });
  if (!caught) std::printf("the conversion dialog was not caught\n");
  // The closed dialog leaves the screen before the window's picture.
  Settle();
  Save("window.png", Around(window, 0));
  ReportTexts("window", window, {kFileColumn, kOutputColumn});

  // The context menu with the first file selected, where a right click opens it.
  window.List().selectionModel()->select(window.Model().index(0, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QMenu menu(&window);
  FillListMenu(menu, window.CurrentListState(), [](Command) {});
  const QPoint click = window.List().viewport()->mapToGlobal(QPoint(120, 30));
  menu.popup(click);
  QTimer::singleShot(300, [&] {
    Save("context-menu.png", window.frameGeometry());
    menu.close();
  });
  // The output format box, open.
  QTimer::singleShot(500, [&] { window.Formats().showPopup(); });
  QTimer::singleShot(800, [&] {
    Save("format-box.png", window.frameGeometry());
    window.Formats().hidePopup();
  });
  QTimer::singleShot(1000, &application, &QApplication::quit);
  return QApplication::exec();
}
