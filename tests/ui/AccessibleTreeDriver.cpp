// Shows the window, each page of the options sheet and both progress dialogs
// in turn, for accessible_tree_test.py to walk over the accessibility bus.
// It says "ready STEP" on standard output when a step is on screen and goes
// on to the next when a line arrives on standard input.

#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <memory>
#include <string>

#include "tests/ui/UiTestSupport.h"
#include "ui/DoubleBarDialog.h"
#include "ui/OptSheet.h"
#include "ui/OptionsPage.h"
#include "ui/SingleBarDialog.h"

using namespace quillo;

namespace {

void Ready(const std::string& step) {
  std::printf("ready %s\n", step.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  test::WindowTest world;
  MainWindow& window = world.Window();
  window.show();

  std::unique_ptr<COptSheet> sheet;
  std::unique_ptr<DoubleBarDialog> converting;
  std::unique_ptr<SingleBarDialog> adding;
  int step = 0;  // 0: the window; 1..pages: a page; then the dialogs
  const auto next = [&] {
    if (step == 0) {
      Ready("window");
    } else if (step == 1) {
      sheet = std::make_unique<COptSheet>(
          &window, world.settings,
          OptionsServices{world.prompts, world.shell, test::Backends().windowsMedia});
      sheet->show();
    }
    if (sheet && step >= 1 && step <= sheet->PageCount()) {
      sheet->ShowPage(step - 1);
      Ready("page " + sheet->Page(step - 1).Caption().toStdString());
    } else if (sheet && step == sheet->PageCount() + 1) {
      sheet->close();
      converting = std::make_unique<DoubleBarDialog>(&window);
      converting->SetOverallText("Converting 1 of 3 files");
      converting->SetFileText("Converting Morning Walk.mp3");
      converting->SetOverallRange(3);
      adding = std::make_unique<SingleBarDialog>(&window);
      adding->SetCaption("Adding Field Recording.wav");
      Ready("progress dialogs");
    } else if (step > 0) {
      Ready("done");
      QApplication::quit();
    }
    ++step;
  };
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[256];
    if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) return QApplication::quit();
    next();
  });
  QTimer::singleShot(500, next);
  return QApplication::exec();
}
