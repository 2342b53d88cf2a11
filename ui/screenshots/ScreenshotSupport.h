#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "ui/DesktopStyle.h"

namespace quillo::screenshots {

// Sets the application up as a desktop would, its style and the font size
// of argv[2] in points, and makes the output folder argv[1]. Returns the
// folder; empty, after printing the usage, when none was given.
inline QString Start(int argc, char** argv) {
  QApplication::setStyle(new DesktopStyle);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [POINTS]\n", argv[0]);
    return {};
  }
  if (argc > 2) {
    QFont font = QApplication::font();
    font.setPointSizeF(std::atof(argv[2]));
    QApplication::setFont(font);
  }
  std::filesystem::create_directories(argv[1]);
  return QString::fromLocal8Bit(argv[1]);
}

// Lets the window manager place and frame what was shown.
inline void Settle() {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 500) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

// Saves the screen's pixels in `area` to `path`, as the user sees them, and
// prints whether it did. Where the program cannot read the screen (a Wayland client), the command
// in QUILLO_SCREEN_GRAB saves the whole screen to `path` instead.
inline void Save(const QString& path, const QRect& area) {
  QApplication::processEvents();
  if (const char* grab = std::getenv("QUILLO_SCREEN_GRAB"); grab != nullptr && *grab != '\0') {
    QString quoted = path;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    const QByteArray command = QByteArray(grab) + " '" + quoted.toLocal8Bit() + "'";
    std::printf("%s: %s\n", qPrintable(path),
                std::system(command.constData()) == 0 ? "saved" : "FAILED");
    return;
  }
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                    area.width(), area.height());
  std::printf("%s: %s\n", qPrintable(path), shot.save(path) ? "saved" : "FAILED");
}

}  // namespace quillo::screenshots
