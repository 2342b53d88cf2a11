#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "backends/InstalledBackends.h"
#include "base/AsciiCase.h"
#include "platform/FileSizeSignal.h"
#include "platform/StandardPaths.h"
#include "settings/ConversionSettings.h"
#include "settings/IniSettingsProvider.h"
#include "settings/SettingsStore.h"
#include "ui/DesktopStyle.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompts.h"
#include "ui/Shell.h"
#include "ui/TerminationNotifier.h"
#include "ui/WindowLanguage.h"

namespace {

// The files and folders the command line names ("Open with" of a file
// manager), as absolute paths; "file:" addresses are taken as their paths.
QStringList CommandLinePaths(const QStringList& arguments) {
  QStringList paths;
  for (const QString& argument : arguments.mid(1)) {
    const QUrl url(argument);
    const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
    paths.push_back(QFileInfo(path).absoluteFilePath());
  }
  return paths;
}

// Answers --help and --version before Qt starts, so that both work without a
// display (the manual page is made from them). True when it answered.
bool AnswerHelpOrVersion(int argc, char** argv) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("quillo %s\n", QUILLO_VERSION);
    return true;
  }
  if (std::strcmp(argv[1], "--help") != 0 && std::strcmp(argv[1], "-h") != 0) return false;
  std::printf(
      "Usage: quillo [FILE_OR_FOLDER...]\n\n"
      "Quillo converts audio and video files into audio files. This is its window: the\n"
      "files and folders given are added to its list as Add Files and Add Folder add\n"
      "them (\"file:\" addresses are taken as their paths).\n\n"
      "The settings live in ~/.config/Quillo 3/quillo.conf (QUILLO_CONFIG names another\n"
      "file). quillo-cli probes, converts and joins files with the same engine and\n"
      "settings from the command line (quillo-cli --help).\n\n"
      "Options:\n"
      "  -h, --help           Show this text.\n"
      "  --version            Show the version.\n");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  quillo::IgnoreFileSizeSignal();
  if (AnswerHelpOrVersion(argc, argv)) return 0;
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillo"));
  QApplication::setStyle(new quillo::DesktopStyle);
  // The desktop's language (LANGUAGE, LC_MESSAGES, LANG), before any widget.
  const quillo::WindowLanguage language(QLocale::system());

  // The audio layer comes first, once for the process. The MIDI sound font
  // (some 150 MB) is loaded by the first run that converts a MIDI file.
  const quillo::InstalledBackends backends;

  quillo::ConversionSettings settings(quillo::DocumentsFolder());
  quillo::IniSettingsProvider provider(quillo::ConfigFilePath());
  quillo::SettingsStore store(provider);
  store.load(settings);

  quillo::DesktopShell shell;
  quillo::QtPrompts prompts(shell);
  quillo::MainWindow window({backends.table(), settings, store, prompts, shell});
  prompts.SetParent(&window);
  quillo::TerminationNotifier stopSignals;
  QObject::connect(&stopSignals, &quillo::TerminationNotifier::received, &window,
                   &quillo::MainWindow::Quit);
  if (const QScreen* screen = window.screen())
    window.move(screen->availableGeometry().center() - window.rect().center());
  window.show();

  const QStringList paths = CommandLinePaths(QApplication::arguments());
  // What was wrong with the settings file, shown once the window is up.
  std::vector<std::string> warnings = settings.loadWarnings;
  if (!provider.problem().empty()) warnings.insert(warnings.begin(), provider.problem());
  for (std::string& text : warnings) {
    text[0] = quillo::AsciiUpper(text[0]);
    QTimer::singleShot(0, &window, [&prompts, text] { prompts.Warn(text + "."); });
  }
  if (!paths.isEmpty())
    QTimer::singleShot(0, &window, [&window, paths] { window.AddDroppedPaths(paths); });
  return QApplication::exec();
}
