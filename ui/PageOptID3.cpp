#include "ui/PageOptID3.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/media/GenreTable.h"
#include "engine/UserPrompts.h"
#include "ui/OptionValues.h"
#include "ui/SpinEdit.h"
#include "ui/UiScale.h"

namespace quillo {

namespace {

constexpr int32_t kMaxTrack = 255;

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

CPageOptID3::CPageOptID3(const ConversionSettings& s, UserPrompts& prompts)
    : OptionsPage(QStringLiteral("ID3")),
      prompts_(prompts),
      tagRadio_(TagRadio(s.id3TagType)),
      trackRadio_(TrackRadio(s.tags.trackNumType)),
      tags_(s.tags),
      transferPictures_(s.transferPictures),
      writeReplayGain_(s.writeReplayGain) {}

void CPageOptID3::Build() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* group = new QGroupBox(QStringLiteral("ID3 tag"), this);
  layout->addWidget(group);
  layout->addStretch(1);
  auto* box = new QVBoxLayout(group);

  tagRadios_ = new QButtonGroup(group);
  box->addWidget(Radio(tagRadios_, group, "&Add custom ID3 tag", 0, tagRadio_));
  auto* grid = new QGridLayout;
  grid->setContentsMargins(20, 0, 0, 4);
  box->addLayout(grid);
  box->addWidget(Radio(tagRadios_, group, "&Transfer ID3 tag from source file", 1, tagRadio_));
  picturesCheck_ = Check(group, "Transfer &pictures (cover art)", transferPictures_);
  auto* picturesRow = new QHBoxLayout;
  picturesRow->setContentsMargins(20, 0, 0, 0);
  picturesRow->addWidget(picturesCheck_);
  box->addLayout(picturesRow);
  box->addWidget(Radio(tagRadios_, group, "&None", 2, tagRadio_));
  replayGainCheck_ = Check(group, "Write &ReplayGain tags", writeReplayGain_);
  box->addSpacing(4);
  box->addWidget(replayGainCheck_);

  int row = 0;
  const auto addRow = [&](const char* text, QWidget* field) {
    auto* label = new QLabel(QString::fromUtf8(text), group);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row++, 1);
    tagFields_ << label << field;
  };
  const auto addEdit = [&](const char* text, const std::string& value) {
    auto* edit = new QLineEdit(QString::fromStdString(value), group);
    addRow(text, edit);
    return edit;
  };

  trackRadios_ = new QButtonGroup(group);
  auto* track = new QWidget(group);
  auto* trackRow = new QHBoxLayout(track);
  trackRow->setContentsMargins(0, 0, 0, 0);
  for (auto [text, id] : {std::pair{"N&one", 0}, {"&Sequence number in list", 1}, {"C&ustom", 2}}) {
    QRadioButton* radio = Radio(trackRadios_, track, text, id, trackRadio_);
    trackRow->addWidget(radio);
    tagFields_ << radio;
  }
  trackEdit_ = new SpinEdit(track, SpinEdit::Kind::Signed, 0, kMaxTrack, 1);
  trackEdit_->setObjectName(QStringLiteral("trackEdit"));
  trackEdit_->SetValue(tags_.customTrackNum);
  trackEdit_->setFixedWidth(Scaled(60));
  trackRow->addWidget(trackEdit_);
  trackRow->addStretch(1);
  auto* trackLabel = new QLabel(QStringLiteral("Track #:"), group);
  tagFields_ << trackLabel;
  grid->addWidget(trackLabel, row, 0);
  grid->addWidget(track, row++, 1);

  fileNameCheck_ =
      Check(group, "Na&me as file name (not include extension)", tags_.titleAsFileName);
  grid->addWidget(fileNameCheck_, row++, 1);
  tagFields_ << fileNameCheck_;
  titleEdit_ = new QLineEdit(QString::fromStdString(tags_.title), group);
  titleEdit_->setObjectName(QStringLiteral("titleEdit"));
  auto* titleLabel = new QLabel(QStringLiteral("T&itle:"), group);
  titleLabel->setBuddy(titleEdit_);
  grid->addWidget(titleLabel, row, 0);
  grid->addWidget(titleEdit_, row++, 1);
  tagFields_ << titleLabel;

  artistEdit_ = addEdit("A&rtist:", tags_.artist);
  albumEdit_ = addEdit("A&lbum:", tags_.album);
  yearEdit_ = addEdit("&Year:", tags_.year);
  yearEdit_->setMaximumWidth(Scaled(80));
  grid->setAlignment(yearEdit_, Qt::AlignLeft);
  commentEdit_ = addEdit("&Comment:", tags_.comment);
  composerEdit_ = addEdit("Com&poser:", tags_.composer);
  copyrightEdit_ = addEdit("Copyrig&ht:", tags_.copyright);
  genreBox_ = new QComboBox(group);
  genreBox_->setObjectName(QStringLiteral("genreBox"));
  genreBox_->setEditable(true);
  genreBox_->setInsertPolicy(QComboBox::NoInsert);
  genreBox_->setMaxVisibleItems(16);
  genreBox_->addItems(SortedGenres());
  genreBox_->setCurrentText(QString::fromStdString(tags_.genre));
  genreBox_->setMinimumWidth(Scaled(200));
  addRow("&Genre:", genreBox_);
  grid->setAlignment(genreBox_, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);

  connect(tagRadios_, &QButtonGroup::idClicked, this, &CPageOptID3::ApplyEnabling);
  connect(fileNameCheck_, &QCheckBox::clicked, this, [this] {
    ApplyEnabling();
    if (titleEdit_->isEnabled()) titleEdit_->setFocus(Qt::OtherFocusReason);
  });
  connect(trackRadios_, &QButtonGroup::idClicked, this, [this](int id) {
    ApplyEnabling();
    if (id == 2 && trackEdit_->isEnabled()) trackEdit_->setFocus(Qt::OtherFocusReason);
  });
  ApplyEnabling();
}

void CPageOptID3::ApplyEnabling() {
  const bool custom = tagRadios_->checkedId() == 0;
  for (QWidget* field : tagFields_) field->setEnabled(custom);
  trackEdit_->setEnabled(custom && trackRadios_->checkedId() == 2);
  titleEdit_->setEnabled(custom && !fileNameCheck_->isChecked());
  picturesCheck_->setEnabled(tagRadios_->checkedId() == 1);
  replayGainCheck_->setEnabled(tagRadios_->checkedId() != 2);
}

bool CPageOptID3::Leave() {
  if (tagRadios_->checkedId() >= 0) tagRadio_ = tagRadios_->checkedId();
  if (trackRadios_->checkedId() >= 0) trackRadio_ = trackRadios_->checkedId();
  tags_.titleAsFileName = Checked(fileNameCheck_);
  transferPictures_ = Checked(picturesCheck_);
  writeReplayGain_ = Checked(replayGainCheck_);
  tags_.title = titleEdit_->text().toStdString();
  tags_.artist = artistEdit_->text().toStdString();
  tags_.album = albumEdit_->text().toStdString();
  tags_.year = yearEdit_->text().toStdString();
  tags_.comment = commentEdit_->text().toStdString();
  tags_.composer = composerEdit_->text().toStdString();
  tags_.copyright = copyrightEdit_->text().toStdString();
  tags_.genre = genreBox_->currentText().toStdString();
  // The track number is checked whether or not it is in use: it is stored.
  const std::optional<int32_t> number = trackEdit_->Value();
  if (!number || *number < 0 || *number > kMaxTrack)
    return Refuse(prompts_, "Please enter an integer between 0 and 255.", trackEdit_);
  tags_.customTrackNum = *number;
  return true;
}

void CPageOptID3::Apply(ConversionSettings& s) const {
  s.id3TagType = TagModeOfRadio(tagRadio_);
  s.tags = tags_;
  s.tags.trackNumType = TrackModeOfRadio(trackRadio_);
  s.transferPictures = transferPictures_;
  s.writeReplayGain = writeReplayGain_;
}

}  // namespace quillo
