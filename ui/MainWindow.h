#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>

#include "engine/BackendTable.h"
#include "engine/RunResult.h"
#include "engine/UserPrompts.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsStore.h"
#include "ui/ListColumns.h"
#include "ui/ListMenus.h"

class QPushButton;
class QToolButton;

namespace quillo {

class AddCommand;
class ConversionCommand;
class FileListModel;
class FileListView;
class FormatBox;
class Shell;

// Quillo's window: the command buttons at the left, the output format box,
// the file list at the right. It owns the list and dispatches every command
// (AddCommand adds files, ConversionCommand converts them); while one runs,
// its controls are disabled and no second command starts.
class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  struct Services {
    const BackendTable& backends;
    ConversionSettings& settings;  // loaded by the caller
    SettingsStore& store;
    UserPrompts& prompts;
    Shell& shell;
  };

  // Opens the help page on the first start.
  explicit MainWindow(Services services);
  ~MainWindow() override;

  void Run(Command command);
  // Ends the program as closing the window does; a running command is
  // cancelled first, and the window closes when it has stopped.
  void Quit();
  // Add Files once its dialog chose them: every file, whatever its name.
  void AddChosenFiles(const QStringList& paths);
  // Add Folder once its browser chose one: the files below it that pass the
  // filters. The folder is stored as the next browser's start.
  void AddFolderPath(const QString& folder);
  // Items dropped on the window, and the paths the command line names.
  void AddDroppedPaths(const QStringList& paths);

  FileListModel& Model() { return *model_; }
  FileListView& List() { return *list_; }
  FormatBox& Formats() { return *formats_; }
  ListState CurrentListState() const;
  // Whether a command runs (a conversion goes on after Run returns).
  bool IsBusy() const { return busy_; }
  // How many files a conversion converts at once (one per processor).
  void SetJobs(int jobs) { jobs_ = jobs; }
  // A run at least this long that ends while the window is not active is
  // announced by a desktop notification.
  void SetNoticeAfter(std::chrono::milliseconds after) { noticeAfter_ = after; }
  int OutputColumnWidth() const { return outputColumnWidth_; }
  // Keeps the window within a screen's available area: where the design's
  // size does not fit, the window shrinks and the list gives up the room.
  void FitTo(const QRect& available);

  static const char* const kSelectFileMessage;
  static const char* const kEmptyListMessage;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void BuildControls();
  // The window's size, the list filling what the buttons leave.
  void Arrange(const QSize& size);
  void AddShortcuts();
  QPushButton* AddButton(const char* text, const char* tip, const QRect& place, Command command);
  void ShowListMenu(const QPoint& position);
  void ShowHelpMenu();

  void Remove();
  void Convert(bool selectedOnly, bool join);
  void ConversionFinished();
  // The desktop notification of a long run that ended unseen.
  void AnnounceRunEnd(const RunResult& result);
  void SetBusy(bool busy);
  // The one selected row's source or output; empty when that is not one row
  // or has none.
  std::string SelectedPath(bool output) const;
  void OpenHelpPage();
  void ShowAbout();

  Services services_;
  QWidget* content_ = nullptr;  // every control; disabled while a command runs
  FileListModel* model_ = nullptr;
  FileListView* list_ = nullptr;
  FormatBox* formats_ = nullptr;
  QToolButton* helpButton_ = nullptr;
  int outputColumnWidth_ = kOutputColumnWidth;
  bool busy_ = false;
  int jobs_;
  std::unique_ptr<AddCommand> adding_;
  std::unique_ptr<ConversionCommand> conversion_;  // the running conversion
  bool quitRequested_ = false;
  std::chrono::milliseconds noticeAfter_{5000};
  QElapsedTimer runClock_;  // since the running conversion started
};

}  // namespace quillo
