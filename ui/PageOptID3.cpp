#include "ui/PageOptID3.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/UserPrompts.h"
#include "engine/media/GenreTable.h"
#include "settings/SettingDescriptions.h"
#include "ui/AccessibleNames.h"
#include "ui/Translate.h"
#include "ui/UiScale.h"

namespace quillo {

namespace {

const SettingDescription& Track() { return DescribeSetting("CustomTrackNum", SettingPlace::Tags); }

// The genre names in the box's order: alphabetical, letter case ignored.
QStringList SortedGenres() {
  QStringList names;
  for (std::string_view name : GenreNames())
    names.push_back(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return names;
}

}  // namespace

void CPageOptID3::Build() {
  QGroupBox* group = AddGroup("ID3 tag");
  auto* box = new QVBoxLayout(group);

  // A stored choice outside the three shows "None".
  TagMode& tags = values_.id3TagType;
  if (tags != TagMode::Custom && tags != TagMode::FromSource) tags = TagMode::None;
  tagRadios_ = new QButtonGroup(group);
  const auto addTagRadio = [&](const char* text, TagMode mode) {
    box->addWidget(Radio(tagRadios_, group, text, static_cast<int>(mode), static_cast<int>(tags)));
  };
  addTagRadio("&Add custom ID3 tag", TagMode::Custom);
  auto* grid = new QGridLayout;
  grid->setContentsMargins(kIndent, 0, 0, 4);
  box->addLayout(grid);
  addTagRadio("&Transfer ID3 tag from source file", TagMode::FromSource);
  picturesCheck_ = Check(group, "Transfer pictures (co&ver art)", values_.transferPictures);
  auto* picturesRow = new QHBoxLayout;
  picturesRow->setContentsMargins(kIndent, 0, 0, 0);
  picturesRow->addWidget(picturesCheck_);
  box->addLayout(picturesRow);
  addTagRadio("&None", TagMode::None);
  // Stored 0 (none), 1 (the track's) or 2 (the track's and the album's).
  replayGainCheck_ = Check(group, "&Write ReplayGain tags", values_.writeReplayGain != 0);
  albumGainCheck_ = Check(group, "Al&bum gain too", values_.writeReplayGain == 2);
  auto* replayGainRow = new QHBoxLayout;
  replayGainRow->addWidget(replayGainCheck_);
  replayGainRow->addWidget(albumGainCheck_);
  replayGainRow->addStretch(1);
  box->addSpacing(4);
  box->addLayout(replayGainRow);

  int row = 0;
  const auto addRow = [&](const char* text, QWidget* field) {
    QLabel* label = Label(group, text, field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row++, 1);
    tagFields_ << label << field;
  };

  // A stored number mode outside the three shows "None".
  auto* track = new QWidget(group);
  trackRadios_ = Radios(track,
                        {std::pair{"N&one", TrackNumberMode::None},
                         {"&Sequence number in list", TrackNumberMode::ListPosition},
                         {"C&ustom", TrackNumberMode::Custom}},
                        values_.tags.trackNumType, TrackNumberMode::None);
  auto* trackRow = new QHBoxLayout(track);
  trackRow->setContentsMargins(0, 0, 0, 0);
  for (QAbstractButton* radio : trackRadios_->buttons()) {
    trackRow->addWidget(radio);
    tagFields_ << radio;
  }
  trackEdit_ = Spin(track, "trackEdit", SpinEdit::Kind::Signed, Track().low, Track().high, 1,
                    values_.tags.customTrackNum);
  trackEdit_->setFixedWidth(Scaled(60));
  trackRow->addWidget(trackEdit_);
  trackRow->addStretch(1);
  auto* trackLabel = new QLabel(Tr("Track #:"), group);
  tagFields_ << trackLabel;
  NameAfter(trackEdit_, trackLabel);
  grid->addWidget(trackLabel, row, 0);
  grid->addWidget(track, row++, 1);

  fileNameCheck_ =
      Check(group, "Na&me as file name (not include extension)", values_.tags.titleAsFileName);
  grid->addWidget(fileNameCheck_, row++, 1);
  tagFields_ << fileNameCheck_;
  for (auto [text, field] : {std::pair{"T&itle:", &TagSettings::title},
                             {"A&rtist:", &TagSettings::artist},
                             {"A&lbum:", &TagSettings::album},
                             {"&Year:", &TagSettings::year},
                             {"&Comment:", &TagSettings::comment},
                             {"Com&poser:", &TagSettings::composer},
                             {"Copyrig&ht:", &TagSettings::copyright}}) {
    auto* edit = new QLineEdit(QString::fromStdString(values_.tags.*field), group);
    tagEdits_.emplace_back(edit, field);
    addRow(text, edit);
    if (field == &TagSettings::year) {
      edit->setMaximumWidth(Scaled(80));
      grid->setAlignment(edit, Qt::AlignLeft);
    }
  }
  // The title follows the file-name check rather than the tag radios alone.
  titleEdit_ = tagEdits_.front().first;
  titleEdit_->setObjectName(QStringLiteral("titleEdit"));
  tagFields_.removeOne(titleEdit_);
  genreBox_ = List(group, "genreBox");
  genreBox_->setEditable(true);
  genreBox_->setInsertPolicy(QComboBox::NoInsert);
  genreBox_->setMaxVisibleItems(16);
  genreBox_->addItems(SortedGenres());
  genreBox_->setCurrentText(QString::fromStdString(values_.tags.genre));
  genreBox_->setMinimumWidth(Scaled(200));
  addRow("&Genre:", genreBox_);
  grid->setAlignment(genreBox_, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);

  connect(tagRadios_, &QButtonGroup::idClicked, this, &CPageOptID3::ApplyEnabling);
  connect(replayGainCheck_, &QCheckBox::clicked, this, &CPageOptID3::ApplyEnabling);
  connect(fileNameCheck_, &QCheckBox::clicked, this, [this] {
    ApplyEnabling();
    if (titleEdit_->isEnabled()) titleEdit_->setFocus(Qt::OtherFocusReason);
  });
  connect(trackRadios_, &QButtonGroup::idClicked, this, [this](int id) {
    ApplyEnabling();
    if (id == static_cast<int>(TrackNumberMode::Custom) && trackEdit_->isEnabled())
      trackEdit_->setFocus(Qt::OtherFocusReason);
  });
  ApplyEnabling();
}

void CPageOptID3::ApplyEnabling() {
  const auto tags = static_cast<TagMode>(tagRadios_->checkedId());
  for (QWidget* field : tagFields_) field->setEnabled(tags == TagMode::Custom);
  trackEdit_->setEnabled(tags == TagMode::Custom &&
                         trackRadios_->checkedId() == static_cast<int>(TrackNumberMode::Custom));
  titleEdit_->setEnabled(tags == TagMode::Custom && !fileNameCheck_->isChecked());
  picturesCheck_->setEnabled(tags == TagMode::FromSource);
  replayGainCheck_->setEnabled(tags != TagMode::None);
  albumGainCheck_->setEnabled(tags != TagMode::None && replayGainCheck_->isChecked());
}

bool CPageOptID3::Leave() {
  ReadRadios(tagRadios_, values_.id3TagType);
  ReadRadios(trackRadios_, values_.tags.trackNumType);
  values_.tags.titleAsFileName = Checked(fileNameCheck_);
  values_.transferPictures = Checked(picturesCheck_);
  values_.writeReplayGain =
      replayGainCheck_->isChecked() ? (albumGainCheck_->isChecked() ? 2 : 1) : 0;
  for (auto [edit, field] : tagEdits_) values_.tags.*field = edit->text().toStdString();
  values_.tags.genre = genreBox_->currentText().toStdString();
  // The track number is checked whether or not it is in use: it is stored.
  const std::optional<int32_t> number = trackEdit_->Value();
  if (!number || !Track().Allows(*number)) return RefuseOutside(prompts_, Track(), trackEdit_);
  values_.tags.customTrackNum = *number;
  return true;
}

void CPageOptID3::Apply(ConversionSettings& s) const {
  CopyFields(s, values_, &ConversionSettings::id3TagType, &ConversionSettings::tags,
             &ConversionSettings::transferPictures, &ConversionSettings::writeReplayGain);
}

}  // namespace quillo
