#include "ui/OptOutputPage.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/UserPrompts.h"
#include "engine/output/NamePattern.h"
#include "settings/SettingsStore.h"
#include "ui/Shell.h"
#include "ui/Translate.h"

namespace quillo {

namespace {

QString ChooseWithDialog(QWidget* parent, const QString& title, const QString& start) {
  return QFileDialog::getExistingDirectory(parent, title, start);
}

}  // namespace

COptOutputPage::COptOutputPage(const ConversionSettings& s, UserPrompts& prompts, Shell& shell,
                               FolderChooser chooseFolder)
    : OptionsPage(Tr("Output"), s),
      prompts_(prompts),
      shell_(shell),
      chooseFolder_(chooseFolder ? std::move(chooseFolder) : FolderChooser(ChooseWithDialog)) {}

void COptOutputPage::Build() {
  QGroupBox* where = AddGroup("Output folder");
  auto* grid = new QGridLayout(where);
  modeList_ = List(where, "folderModeList");
  values_.destOutputFolderOpt = FillList(modeList_,
                                         {{"Same as source file", OutputFolderMode::SameAsSource},
                                          {"Specific folder", OutputFolderMode::SpecificFolder}},
                                         values_.destOutputFolderOpt);
  QLabel* modeLabel = Label(where, "&Output folder:", modeList_);
  folderEdit_ = new QLineEdit(QString::fromStdString(values_.destSpecifiedFolder), where);
  folderEdit_->setObjectName(QStringLiteral("folderEdit"));
  QLabel* folderLabel = Label(where, "&Specific folder:", folderEdit_);
  browse_ = new QPushButton(Tr("&Browse"), where);
  open_ = new QPushButton(Tr("O&pen"), where);
  for (QPushButton* button : {browse_, open_}) button->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(folderEdit_, 1);
  buttons->addWidget(browse_);
  buttons->addWidget(open_);
  treeCheck_ = Check(where, "&Keep original directory tree", values_.createDirs);
  treeExample_ =
      new QLabel(Tr("For example: source file is \"/home/ann/Music/pop/track01.mp3\" and output "
                    "folder is \"/data/out\". If the option is checked, the output folder will "
                    "be \"/data/out/home/ann/Music/pop/\"."),
                 where);
  treeExample_->setWordWrap(true);
  treeExample_->setContentsMargins(kIndent, 0, 0, 0);
  grid->addWidget(modeLabel, 0, 0);
  grid->addWidget(modeList_, 0, 1, Qt::AlignLeft);
  grid->addWidget(folderLabel, 1, 0);
  grid->addLayout(buttons, 1, 1);
  grid->addWidget(treeCheck_, 2, 1);
  grid->addWidget(treeExample_, 3, 1);
  grid->setColumnStretch(1, 1);

  QGroupBox* files = AddGroup("Output files");
  auto* fileGrid = new QGridLayout(files);
  targetList_ = List(files, "targetList");
  values_.targetExistsOpt = FillList(
      targetList_,
      {{"Rename automatically (add number at end of file name)", TargetExistsPolicy::Rename},
       {"Overwrite", TargetExistsPolicy::Overwrite},
       {"Skip (not convert)", TargetExistsPolicy::Skip}},
      values_.targetExistsOpt);
  QLabel* targetLabel = Label(files, "&If target file exists ", targetList_);
  documentsCheck_ = Check(files, "O&utput files to \"Documents\" if creating file failure",
                          values_.outputFiles2MyDocuments);
  browseCheck_ =
      Check(files, "Bro&wse output folder when conversion completes", values_.browseOutputFolder);
  fileGrid->addWidget(targetLabel, 0, 0);
  fileGrid->addWidget(targetList_, 0, 1, Qt::AlignLeft);
  fileGrid->addWidget(documentsCheck_, 1, 0, 1, 2);
  fileGrid->addWidget(browseCheck_, 2, 0, 1, 2);
  verifyCheck_ = Check(files, "&Verify each output: decode it back before it replaces anything",
                       values_.verifyOutput);
  fileGrid->addWidget(verifyCheck_, 3, 0, 1, 2);
  joinCueCheck_ = Check(files, "Write a &cue sheet beside a joined output", values_.writeJoinCue);
  fileGrid->addWidget(joinCueCheck_, 4, 0, 1, 2);
  nameEdit_ = new QLineEdit(QString::fromStdString(values_.namePattern), files);
  nameEdit_->setObjectName(QStringLiteral("nameEdit"));
  nameEdit_->setPlaceholderText(QStringLiteral("the source's name"));
  QLabel* nameLabel = Label(files, "&Names from tags:", nameEdit_);
  nameExample_ = new QLabel(
      QStringLiteral("For example: \"{artist}/{album}/{track:02} {title}\" names the output "
                     "\"/data/out/Artist/Album/07 Title.mp3\". Fields: {artist}, {albumartist}, "
                     "{album}, {title}, {track}, {disc}, {year}, {genre}, {name}."),
      files);
  nameExample_->setWordWrap(true);
  nameExample_->setContentsMargins(kIndent, 0, 0, 0);
  fileGrid->addWidget(nameLabel, 5, 0);
  fileGrid->addWidget(nameEdit_, 5, 1);
  fileGrid->addWidget(nameExample_, 6, 0, 1, 2);
  fileGrid->setColumnStretch(1, 1);

  connect(modeList_, &QComboBox::currentIndexChanged, this, &COptOutputPage::ApplyEnabling);
  connect(browse_, &QPushButton::clicked, this, &COptOutputPage::Browse);
  connect(open_, &QPushButton::clicked, this, &COptOutputPage::Open);
  ApplyEnabling();
}

void COptOutputPage::ApplyEnabling() {
  const bool specific =
      modeList_->currentData().toInt() == static_cast<int>(OutputFolderMode::SpecificFolder);
  for (QWidget* control : {static_cast<QWidget*>(folderEdit_), static_cast<QWidget*>(browse_),
                           static_cast<QWidget*>(open_), static_cast<QWidget*>(treeCheck_),
                           static_cast<QWidget*>(treeExample_)})
    control->setEnabled(specific);
}

void COptOutputPage::ReadControls() {
  values_.destOutputFolderOpt = static_cast<OutputFolderMode>(modeList_->currentData().toInt());
  values_.destSpecifiedFolder = folderEdit_->text().toStdString();
  values_.createDirs = Checked(treeCheck_);
  values_.targetExistsOpt = static_cast<TargetExistsPolicy>(targetList_->currentData().toInt());
  values_.outputFiles2MyDocuments = Checked(documentsCheck_);
  values_.browseOutputFolder = Checked(browseCheck_);
  values_.verifyOutput = Checked(verifyCheck_);
  values_.namePattern = nameEdit_->text().toStdString();
  values_.writeJoinCue = Checked(joinCueCheck_);
}

void COptOutputPage::Browse() {
  ReadControls();
  QString start = QString::fromStdString(values_.destSpecifiedFolder);
  if (start.size() > 1 && start.endsWith(u'/')) start.chop(1);
  QString chosen = chooseFolder_(this, Tr("Please choose an output folder:"), start);
  if (chosen.isEmpty()) return;
  if (!chosen.endsWith(u'/')) chosen += u'/';
  folderEdit_->setText(chosen);
}

void COptOutputPage::Open() {
  ReadControls();
  const QString folder = QString::fromStdString(values_.destSpecifiedFolder);
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
    shell_.Open(values_.destSpecifiedFolder);
    return;
  }
  prompts_.Warn(Tr("The folder \"%1\" doesn't exist yet.\n\nNote: the program will "
                   "create the folder automatically when converting files.")
                    .arg(folder)
                    .toStdString());
}

bool COptOutputPage::Leave() {
  ReadControls();
  // The folder is checked whichever mode is chosen: it is stored either way,
  // and the command line uses it.
  const std::string& folder = values_.destSpecifiedFolder;
  const bool blank = folder.find_first_not_of(" \t") == std::string::npos;
  if (blank && (values_.destOutputFolderOpt == OutputFolderMode::SpecificFolder || !folder.empty()))
    return Refuse(prompts_, "Please choose an output folder.", folderEdit_);
  if (!blank && folder.front() != '/')
    return Refuse(prompts_,
                  "The output folder must be a full path that starts with \"/\", for example "
                  "\"/home/ann/Music\".",
                  folderEdit_);
  if (folder.size() > kMaxFolderBytes)
    return Refuse(prompts_, "The output folder's path is too long.", folderEdit_);
  const std::string problem = NamePatternProblem(values_.namePattern);
  if (!problem.empty()) return Refuse(prompts_, problem.c_str(), nameEdit_);
  return true;
}

void COptOutputPage::Apply(ConversionSettings& s) const {
  CopyFields(s, values_, &ConversionSettings::destOutputFolderOpt,
             &ConversionSettings::destSpecifiedFolder, &ConversionSettings::createDirs,
             &ConversionSettings::targetExistsOpt, &ConversionSettings::outputFiles2MyDocuments,
             &ConversionSettings::browseOutputFolder, &ConversionSettings::verifyOutput,
             &ConversionSettings::namePattern, &ConversionSettings::writeJoinCue);
}

}  // namespace quillo
