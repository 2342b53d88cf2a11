// Takes screenshots of the options sheet under a real display (run it under
// Xvfb: scripts/screenshots.sh): the General, Output and ID3 pages, the MP3
// page, the AMR page and the WMA page, each over the main window.

#include <QApplication>
#include <cstdio>

#include "tests/ui/TextFit.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/OptSheet.h"
#include "ui/OptionsPage.h"
#include "ui/Translate.h"
#include "ui/WindowLanguage.h"
#include "ui/screenshots/ScreenshotSupport.h"

using namespace quillo;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The desktop's language, as the window takes it (LANGUAGE=de, LANG=fr_FR.UTF-8).
  const WindowLanguage language(QLocale::system());
  const QString folder = screenshots::Start(argc, argv);
  if (folder.isEmpty()) return 2;

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
  screenshots::Settle();
  for (int i = 0; i < sheet.PageCount(); ++i) {
    const QString caption = sheet.Page(i).Caption();
    if (!QStringList{Tr("General"), Tr("Output"), "ID3", "MP3", "AMR", "WMA/WMV/ASF", "OPUS",
                     "WavPack"}
             .contains(caption))
      continue;
    sheet.ShowPage(i);
    // The same file names in every language.
    const QString name = caption == Tr("General")  ? QStringLiteral("general")
                         : caption == Tr("Output") ? QStringLiteral("output")
                                                   : caption.section(u'/', 0, 0).toLower();
    screenshots::Save(folder + "/options-" + name + ".png", sheet.frameGeometry());
    for (const QString& problem : test::TextsThatDoNotFit(sheet))
      std::printf("%s page: text cut: %s\n", qPrintable(caption), qPrintable(problem));
  }
  return 0;
}
