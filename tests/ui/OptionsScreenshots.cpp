// Takes screenshots of the options sheet under a real display (run it under
// Xvfb: scripts/screenshots.sh): the General, Output and ID3 pages, the MP3
// page, the AMR page and the WMA page, each over the main window.

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tests/ui/TextFit.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DesktopStyle.h"
#include "ui/OptSheet.h"
#include "ui/OptionsPage.h"

namespace {

using namespace quillo;

// The screen's pixels under `widget`'s frame, as the user sees them.
void Save(const QString& path, const QWidget& widget) {
  QApplication::processEvents();
  const QRect area = widget.frameGeometry();
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                    area.width(), area.height());
  std::printf("%s: %s\n", qPrintable(path), shot.save(path) ? "saved" : "FAILED");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setStyle(new DesktopStyle);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [POINTS]\n", argv[0]);
    return 2;
  }
  // The desktop's font size, as a desktop's settings would give it.
  if (argc > 2) {
    QFont font = QApplication::font();
    font.setPointSizeF(std::atof(argv[2]));
    QApplication::setFont(font);
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  std::filesystem::create_directories(argv[1]);

  test::WindowTest world;
  world.settings.id3TagType = TagMode::Custom;
  world.settings.tags.artist = "The Field Recordists";
  world.settings.tags.album = "Morning Walks";
  world.settings.tags.year = "2024";
  world.settings.tags.genre = "Ambient";
  world.settings.volumeType = VolumeMode::Manual;
  world.settings.volume = 150;
  world.settings.wmaAutoEncParam = 0;
  MainWindow& window = world.Window();
  window.move(40, 40);
  window.show();

  COptSheet sheet(&window, world.settings,
                  {world.prompts, world.shell, test::Backends().windowsMedia});
  sheet.show();
  sheet.move(window.frameGeometry().center() - sheet.rect().center());
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 500) QApplication::processEvents(QEventLoop::AllEvents, 50);
  for (int i = 0; i < sheet.PageCount(); ++i) {
    const QString caption = sheet.Page(i).Caption();
    if (!QStringList{"General", "Output", "ID3", "MP3", "AMR", "WMA/WMV/ASF"}.contains(caption))
      continue;
    sheet.ShowPage(i);
    Save(folder + "/options-" + caption.section(u'/', 0, 0).toLower() + ".png", sheet);
    for (const QString& problem : test::TextsThatDoNotFit(sheet))
      std::printf("%s page: text cut: %s\n", qPrintable(caption), qPrintable(problem));
  }
  return 0;
}
