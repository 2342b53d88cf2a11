#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <string>
#include <vector>

#include "engine/Conversion.h"
#include "ui/AccessibleNames.h"
#include "ui/AddCommand.h"
#include "ui/ConversionCommand.h"
#include "ui/DataFiles.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/FormatBox.h"
#include "ui/OptionsCommand.h"
#include "ui/ProgressDialog.h"
#include "ui/Shell.h"
#include "ui/Translate.h"
#include "ui/UiScale.h"
#include "ui/WebAddresses.h"
#include "ui/WindowDrag.h"

namespace quillo {

const char* const MainWindow::kSelectFileMessage = "You should select a file at least.";
const char* const MainWindow::kEmptyListMessage = "There aren't files in list.";

namespace {

constexpr int kWidth = 950;
constexpr int kHeight = 650;

}  // namespace

void MainWindow::SetBusy(bool busy) {
  busy_ = busy;
  content_->setEnabled(!busy);
  if (!busy && quitRequested_) QTimer::singleShot(0, this, &MainWindow::Quit);
}

MainWindow::MainWindow(Services services)
    : QWidget(nullptr), services_(services), jobs_(Conversion::DefaultJobs()) {
  InstallAccessibility();
  setWindowTitle(QStringLiteral("Quillo"));
  setWindowIcon(QIcon(QStringLiteral(":/quillo.png")));
  // A window of fixed size offers no maximize button.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setAcceptDrops(true);
  BuildControls();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) FitTo(screen->availableGeometry());
  AddShortcuts();
  adding_ = std::make_unique<AddCommand>(AddCommand::Context{
      this, *model_, *list_, services_.backends, services_.settings, services_.store,
      services_.prompts, [this](bool busy) { SetBusy(busy); }});
  if (services_.store.checkFirstRun()) OpenHelpPage();
}

MainWindow::~MainWindow() = default;

QPushButton* MainWindow::AddButton(const char* text, const char* tip, const QRect& place,
                                   Command command) {
  auto* button = new QPushButton(Tr(text), content_);
  button->setGeometry(Scaled(place));
  button->setToolTip(Tr(tip));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, command] { Run(command); });
  return button;
}

void MainWindow::BuildControls() {
  content_ = new QWidget(this);

  // The program's icon at the top left; the window manager's frame gives the
  // title. The window drags by the icon and the empty areas.
  auto* logo = new QLabel(content_);
  logo->setPixmap(windowIcon().pixmap(Scaled(32), Scaled(32)));
  logo->setGeometry(Scaled(QRect(11, 15, 32, 32)));
  logo->setAttribute(Qt::WA_TransparentForMouseEvents);

  AddButton("&Add Files", "Add files", {11, 72, 107, 27}, Command::AddFiles);
  AddButton("Add &Folder", "Add files from a folder", {11, 119, 107, 27}, Command::AddFolder);
  AddButton("&Remove All", "Remove all files in list", {11, 166, 107, 27}, Command::RemoveAll);
  QPushButton* convert =
      AddButton("&Convert", "Convert all files", {11, 213, 107, 27}, Command::ConvertAll);
  QPushButton* join = AddButton("Co&nvert to One", "Convert all files into a single file",
                                {11, 297, 107, 27}, Command::ConvertAllToOne);
  AddButton("&Options", "Options", {11, 345, 107, 27}, Command::Options);

  formats_ = new FormatBox(
      content_, services_.settings.formats, services_.settings.outputFormat,
      [this](const char* notice) { services_.prompts.Inform(Tr(notice).toStdString()); });
  formats_->setGeometry(Scaled(11), Scaled(258), Scaled(102),
                        std::max(Scaled(22), formats_->sizeHint().height()));
  formats_->setAccessibleName(Tr("Output format"));
  // The keyboard reaches the box where it sits, between the two Convert buttons.
  setTabOrder(convert, formats_);
  setTabOrder(formats_, join);

  model_ = new FileListModel(this);
  list_ = new FileListView(content_, *model_);
  list_->setAccessibleName(Tr("Files"));
  connect(list_, &FileListView::menuRequested, this, &MainWindow::ShowListMenu);
  connect(list_, &QAbstractItemView::doubleClicked, this, [this] { Run(Command::PlaySource); });

  // The help button at the top right; minimize and close are the window
  // manager's.
  helpButton_ = new QToolButton(content_);
  helpButton_->setText(QStringLiteral("?"));
  helpButton_->setToolTip(Tr("Help"));
  helpButton_->setAutoRaise(true);
  connect(helpButton_, &QToolButton::clicked, this, &MainWindow::ShowHelpMenu);
  // The help button is named by its tool tip, as it shows only "?".
  NameControls(content_);
  Arrange(QSize(Scaled(kWidth), Scaled(kHeight)));
}

void MainWindow::Arrange(const QSize& size) {
  setFixedSize(size);
  content_->setGeometry(0, 0, size.width(), size.height());
  // The list takes what the window has beyond the button column; the help
  // button keeps to the top right corner.
  const QPoint listAt = Scaled(QRect(137, 63, 0, 0)).topLeft();
  list_->setGeometry(listAt.x(), listAt.y(), size.width() - listAt.x() - Scaled(10),
                     size.height() - listAt.y() - Scaled(12));
  helpButton_->setGeometry(
      Scaled(QRect(918, 11, 21, 21)).translated(size.width() - Scaled(kWidth), 0));
}

void MainWindow::FitTo(const QRect& available) {
  // Room for the window manager's title bar and frame, which the window's
  // own size does not include.
  const int frame = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + Scaled(8);
  const QSize design(Scaled(kWidth), Scaled(kHeight));
  // The button column and a list that still shows a few rows and columns.
  const QSize least(Scaled(137 + 320), Scaled(383));
  const QSize room(available.width() - Scaled(8), available.height() - frame);
  Arrange(design.boundedTo(room).expandedTo(least));
}

void MainWindow::AddShortcuts() {
  const auto shortcut = [this](const QKeySequence& keys, auto handler) {
    auto* action = new QAction(content_);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, handler);
    content_->addAction(action);
  };
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { Run(Command::AddFiles); });
  shortcut(QKeySequence(Qt::Key_Delete), [this] { Run(Command::Remove); });
  shortcut(QKeySequence(Qt::Key_F1), [this] { Run(Command::HelpTopics); });
  // The format box has no label of its own to carry a mnemonic; Alt+T goes to
  // it, after the "to" every entry starts with.
  shortcut(QKeySequence(Qt::ALT | Qt::Key_T),
           [this] { formats_->setFocus(Qt::ShortcutFocusReason); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_A), [this] {
    list_->selectAll();
    list_->setFocus();
  });
}

ListState MainWindow::CurrentListState() const {
  ListState state;
  state.rows = model_->Count();
  const std::vector<int> selected = list_->SelectedRows();
  state.selected = static_cast<int>(selected.size());
  state.selectedHasOutput =
      selected.size() == 1 && !model_->Item(selected.front()).outputPath.empty();
  return state;
}

void MainWindow::ShowListMenu(const QPoint& position) {
  if (busy_) return;
  QMenu menu(this);
  FillListMenu(menu, CurrentListState(), [this](Command command) { Run(command); });
  menu.exec(position);
}

void MainWindow::ShowHelpMenu() {
  QMenu menu(this);
  FillHelpMenu(menu, [this](Command command) { Run(command); });
  menu.exec(helpButton_->mapToGlobal(QPoint(0, helpButton_->height())));
}

void MainWindow::Run(Command command) {
  if (busy_) return;
  switch (command) {
    case Command::AddFiles:
      return adding_->ChooseFiles();
    case Command::AddFolder:
      return adding_->ChooseFolder();
    case Command::Remove:
      return Remove();
    case Command::RemoveAll:
      return model_->RemoveAll();
    case Command::ConvertSelected:
      return Convert(true, false);
    case Command::ConvertAll:
      return Convert(false, false);
    case Command::ConvertSelectedToOne:
      return Convert(true, true);
    case Command::ConvertAllToOne:
      return Convert(false, true);
    case Command::PlaySource:
    case Command::PlayDestination: {
      const std::string path = SelectedPath(command == Command::PlayDestination);
      if (!path.empty()) services_.shell.Open(path);
      return;
    }
    case Command::BrowseSourceFolder:
    case Command::BrowseDestinationFolder: {
      const std::string path = SelectedPath(command == Command::BrowseDestinationFolder);
      if (!path.empty()) services_.shell.Reveal(path);
      return;
    }
    case Command::Options:
      return RunOptions(this, services_.settings, services_.store,
                        {services_.prompts, services_.shell, services_.backends.windowsMedia});
    case Command::HelpTopics:
      return OpenHelpPage();
    case Command::TellAFriend:
      return services_.shell.Open(web::kTellAFriend);
    case Command::FeedbackAndSupport:
      return services_.shell.Open(web::kFeedbackAndSupport);
    case Command::Homepage:
      return services_.shell.Open(web::kHomepage);
    case Command::CheckLatestVersion:
      return services_.shell.Open(web::kCheckLatestVersion);
    case Command::About:
      return ShowAbout();
  }
}

std::string MainWindow::SelectedPath(bool output) const {
  const std::vector<int> selected = list_->SelectedRows();
  if (selected.size() != 1) return {};
  const FileItem& item = model_->Item(selected.front());
  return output ? item.outputPath : item.path;
}

void MainWindow::AddChosenFiles(const QStringList& paths) {
  if (!busy_) adding_->AddFiles(paths);
}

void MainWindow::AddFolderPath(const QString& folder) {
  if (!busy_) adding_->AddFolder(folder);
}

void MainWindow::AddDroppedPaths(const QStringList& paths) {
  if (!busy_) adding_->AddDropped(paths);
}

void MainWindow::Remove() {
  const std::vector<int> selected = list_->SelectedRows();
  if (selected.empty()) {
    services_.prompts.Inform(Tr(kSelectFileMessage).toStdString());
    return;
  }
  model_->RemoveRows(selected);
}

void MainWindow::Convert(bool selectedOnly, bool join) {
  std::vector<int> rows;
  if (selectedOnly) {
    rows = list_->SelectedRows();
    if (rows.empty()) return services_.prompts.Inform(Tr(kSelectFileMessage).toStdString());
  } else {
    if (model_->Count() == 0) return services_.prompts.Inform(Tr(kEmptyListMessage).toStdString());
    rows.resize(static_cast<size_t>(model_->Count()));
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
  }
  SetBusy(true);
  auto command = std::make_unique<ConversionCommand>(
      ConversionCommand::Context{this, *model_, *list_, services_.backends, services_.settings,
                                 services_.prompts, services_.shell, outputColumnWidth_, jobs_});
  connect(command.get(), &ConversionCommand::finished, this, &MainWindow::ConversionFinished,
          Qt::QueuedConnection);
  runClock_.start();
  if (!command->Start(rows, join)) return SetBusy(false);
  conversion_ = std::move(command);
}

void MainWindow::ConversionFinished() {
  AnnounceRunEnd(conversion_->Result());
  conversion_.reset();
  SetBusy(false);
}

void MainWindow::AnnounceRunEnd(const RunResult& result) {
  if (!result.started || isActiveWindow() || runClock_.elapsed() < noticeAfter_.count()) return;
  const auto converted =
      std::count_if(result.files.begin(), result.files.end(),
                    [](const auto& file) { return file.state == FileResult::State::Converted; });
  const QString title = result.cancelled ? Tr("Conversion cancelled") : Tr("Conversion finished");
  const QString text = Tr("%1 file(s) converted, %2 failed.").arg(converted).arg(result.failures);
  services_.shell.Notify(title.toStdString(), text.toStdString());
}

void MainWindow::OpenHelpPage() {
  const QString page = ProgramDataFile(QString::fromLatin1(kHelpPageName));
  services_.shell.Open(page.isEmpty() ? std::string(web::kHomepage) : page.toStdString());
}

void MainWindow::ShowAbout() {
  QMessageBox::about(this, Tr("About Quillo"),
                     Tr("<p><b>Quillo</b> %1</p><p>A batch audio converter: many audio and video "
                        "files to thirty-two audio formats, one output each or joined into one.</p>"
                        "<p><a href=\"%2\">%2</a></p>")
                         .arg(QStringLiteral(QUILLO_VERSION), QString::fromLatin1(web::kHomepage)));
}

void MainWindow::Quit() {
  if (busy_) {
    // The command stops at once, whatever dialog it shows: a question or a
    // save dialog open now is answered as a user who declines, and the
    // window closes when the command is over.
    quitRequested_ = true;
    if (conversion_) conversion_->Stop();
    for (ProgressDialog* dialog : findChildren<ProgressDialog*>()) dialog->Cancel();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QDialog*>(widget);
      if (dialog != nullptr && dialog->isVisible()) dialog->reject();
    }
    return;
  }
  close();
  QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A running command ends first: the user chooses whether to cancel it and
  // quit, and the window closes once it has stopped cleanly.
  if (busy_) {
    event->ignore();
    if (quitRequested_) return;
    const QString question = conversion_ ? Tr("A conversion is running. Cancel it and quit?")
                                         : Tr("Files are being added. Stop and quit?");
    // Quit runs after this event: the run may have ended while the question
    // was open, and the window then closes as usual.
    if (services_.prompts.AskYesNo(question.toStdString()))
      QTimer::singleShot(0, this, &MainWindow::Quit);
    return;
  }
  services_.store.save(services_.settings, kSaveWindow);
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && !DroppedLocalPaths(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedLocalPaths(event->mimeData());
  if (busy_ || paths.isEmpty()) return;
  event->acceptProposedAction();
  // The drop ends first, so the file manager is not held while files are added.
  QTimer::singleShot(0, this, [this, paths] { AddDroppedPaths(paths); });
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  if (!StartWindowDrag(*this, *event)) QWidget::mousePressEvent(event);
}

}  // namespace quillo
