#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backends/InstalledBackends.h"
#include "settings/ConversionSettings.h"
#include "settings/IniSettingsProvider.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestSupport.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/MainWindow.h"
#include "ui/Shell.h"

namespace quillo::test {

// The back-ends, set up once for the test program as the window's main does.
inline const BackendTable& Backends() {
  static const InstalledBackends backends;
  return backends.table();
}

// Questions answered from a script, notices kept.
struct ScriptedPrompts final : UserPrompts {
  std::vector<std::string> informs, warnings, questions;
  std::optional<std::string> outputFile;  // the join's save dialog answer
  bool answer = false;                    // every yes/no question's answer
  void Inform(const std::string& text) override { informs.push_back(text); }
  void Warn(const std::string& text) override { warnings.push_back(text); }
  void Note(const std::string&) override {}
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  std::optional<std::string> AskOutputFile(const std::string&) override { return outputFile; }
  void OpenLocation(const std::string& location) override { opened.push_back(location); }
  std::vector<std::string> opened;
};

struct RecordingShell final : Shell {
  std::vector<std::string> opened, revealed;
  void Open(const std::string& location) override { opened.push_back(location); }
  void Reveal(const std::string& path) override { revealed.push_back(path); }
  void Notify(const std::string& title, const std::string& text) override {
    notices.push_back(title + ": " + text);
  }
  std::vector<std::string> notices;
};

// A window with settings of its own in a temporary folder; outputs go to
// `out`. The window is created on first use, after a test adjusted the
// settings.
class WindowTest {
 public:
  TempDir dir;
  std::string out = dir.File("out");
  IniSettingsProvider provider{dir.File("quillo.conf")};
  SettingsStore store{provider};
  ConversionSettings settings{out};
  ScriptedPrompts prompts;
  RecordingShell shell;

  MainWindow& Window() {
    if (!window_) {
      window_ = std::make_unique<MainWindow>(
          MainWindow::Services{Backends(), settings, store, prompts, shell});
    }
    return *window_;
  }
  FileListModel& Model() { return Window().Model(); }

  // The texts of one column, top row first.
  std::vector<std::string> ColumnTexts(int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < Model().Count(); ++row) texts.push_back(Model().CellText(row, column));
    return texts;
  }

 private:
  std::unique_ptr<MainWindow> window_;
};

// Makes an audio file with the ffmpeg program from a lavfi source.
inline std::string MakeAudio(const std::string& path, const std::string& lavfi) {
  Run("ffmpeg -v error -y -f lavfi -i " + ShellQuote(lavfi) + " " + ShellQuote(path));
  return path;
}

// Runs `action` on every turn of the event loop while `work` runs, until it
// returns true: how a test presses a button in a dialog that a command shows.
inline void WhileRunning(const std::function<bool()>& action, const std::function<void()>& work) {
  QTimer timer;
  timer.setInterval(1);
  bool done = false;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (!done) done = action();
  });
  timer.start();
  work();
  timer.stop();
}

// Runs a window command and waits until it is over: a conversion goes on
// after Run returns, off the window's thread.
inline void RunToEnd(MainWindow& window, Command command) {
  window.Run(command);
  while (window.IsBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The visible top-level widget of type T, or null.
template <typename T>
T* VisibleWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<T*>(widget); found != nullptr && found->isVisible())
      return found;
  return nullptr;
}

}  // namespace quillo::test
