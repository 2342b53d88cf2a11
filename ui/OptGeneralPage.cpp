#include "ui/OptGeneralPage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "engine/UserPrompts.h"
#include "settings/SettingDescriptions.h"
#include "ui/AccessibleNames.h"
#include "ui/Translate.h"
#include "ui/UiScale.h"

namespace quillo {

namespace {

constexpr int32_t kLengthStep = 100;
constexpr int32_t kMinVolumeArrows = 10;  // the arrows stop there; 1 may be typed
constexpr int32_t kVolumeStep = 10;

const SettingDescription& Skip() { return DescribeSetting("SkipLength"); }
const SettingDescription& Length() { return DescribeSetting("ConvertLength"); }
const SettingDescription& Volume() { return DescribeSetting("Volume"); }
const SettingDescription& Loudness() { return DescribeSetting("LoudnessTarget"); }

const char* const kMonoExplanation =
    "In general, the output sound equals to \"(L+R)/2,\" which contains left and right "
    "channels.\n\n\"L channel\" means the program outputs left channel of original stereo file. "
    "And \"R channel\" means right channel. It's very useful when you want to convert a stereo "
    "file into two files that contains left and right channels distinguishingly.";

QLabel* Note(const char* text) {
  auto* label = new QLabel(Tr(text));
  label->setWordWrap(true);
  return label;
}

}  // namespace

void COptGeneralPage::Build() {
  BuildFilterGroup();
  BuildMonoGroup();
  BuildLengthGroup();
  BuildVolumeGroup();
  ApplyEnabling();
}

void COptGeneralPage::BuildFilterGroup() {
  QGroupBox* group = AddGroup("Adding files");
  auto* box = new QVBoxLayout(group);
  filterCheck_ =
      Check(group, "&Only add the following file extensions for \"Add Folder\" and Drag/Drop",
            values_.enableExtFilter);
  filterEdit_ = new QLineEdit(QString::fromStdString(values_.filterExts), group);
  filterEdit_->setObjectName(QStringLiteral("filterEdit"));
  auto* edit = new QVBoxLayout;
  edit->setContentsMargins(kIndent, 0, 0, 0);
  edit->addWidget(filterEdit_);
  QLabel* note = Note(
      "Note: use comma (,) to separate multiple extensions. For example: "
      "wav,mp3,m4a,aac");
  edit->addWidget(note);
  NameAfter(filterEdit_, filterCheck_, note);
  hiddenCheck_ = Check(group, "&Do not load hidden files", values_.doNotLoadHiddenFiles);
  dtsCheck_ = Check(group, "&Use DTS to decode CDA files", values_.enableDtsForCda);
  box->addWidget(filterCheck_);
  box->addLayout(edit);
  box->addWidget(hiddenCheck_);
  box->addWidget(dtsCheck_);
  connect(filterCheck_, &QCheckBox::clicked, this, [this] { ApplyEnabling(filterEdit_); });
}

void COptGeneralPage::BuildMonoGroup() {
  QGroupBox* group = AddGroup("Stereo to mono");
  auto* box = new QVBoxLayout(group);
  auto* question = new QHBoxLayout;
  question->addWidget(Note("When converting 2 channels to 1 channel, the out channel equals to:"),
                      1);
  auto* help = new QPushButton(QStringLiteral("?"), group);
  help->setAutoDefault(false);
  help->setFixedWidth(help->sizeHint().height());
  help->setToolTip(Tr("What do these choices mean?"));
  connect(help, &QPushButton::clicked, this,
          [this] { prompts_.Inform(Tr(kMonoExplanation).toStdString()); });
  question->addWidget(help);
  box->addLayout(question);
  monoRadios_ = Radios(group,
                       {std::pair{"(L+R) / &2 (default)", MonoMixMode::Average},
                        {"&L channel", MonoMixMode::LeftOnly},
                        {"&R channel", MonoMixMode::RightOnly}},
                       values_.monoType);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(kIndent, 0, 0, 0);
  for (QAbstractButton* radio : monoRadios_->buttons()) row->addWidget(radio);
  row->addStretch(1);
  box->addLayout(row);
}

void COptGeneralPage::BuildLengthGroup() {
  QGroupBox* group = AddGroup("Length");
  auto* grid = new QGridLayout(group);
  const auto addRow = [&](int row, QCheckBox* check, SpinEdit* edit, const char* text) {
    edit->setFixedWidth(Scaled(110));
    grid->addWidget(check, row, 0);
    grid->addWidget(edit, row, 1);
    auto* unit = new QLabel(Tr(text), group);
    grid->addWidget(unit, row, 2);
    NameAfter(edit, check, unit);
  };
  skipCheck_ = Check(group, "&Skip the first", values_.enableSkipLength);
  skipEdit_ = Spin(group, "skipEdit", SpinEdit::Kind::Unsigned, Skip().low, Skip().high,
                   kLengthStep, values_.skipLength);
  addRow(0, skipCheck_, skipEdit_, "milliseconds (ms) of each file (1 sec = 1000 ms)");
  lengthCheck_ = Check(group, "Only &convert", values_.enableConvertLength);
  lengthEdit_ = Spin(group, "lengthEdit", SpinEdit::Kind::Unsigned, Length().low, Length().high,
                     kLengthStep, values_.convertLength);
  addRow(1, lengthCheck_, lengthEdit_, "milliseconds (ms) length for each file (1 sec = 1000 ms)");
  grid->setColumnStretch(2, 1);
  connect(skipCheck_, &QCheckBox::clicked, this, [this] { ApplyEnabling(skipEdit_); });
  connect(lengthCheck_, &QCheckBox::clicked, this, [this] { ApplyEnabling(lengthEdit_); });
}

void COptGeneralPage::BuildVolumeGroup() {
  QGroupBox* group = AddGroup("Volume");
  auto* box = new QVBoxLayout(group);
  // A stored mode outside the four shows "Keep".
  volumeRadios_ = Radios(group,
                         {std::pair{"&Normalize volume automatically so that all output files "
                                    "have the same volume",
                                    VolumeMode::Normalize},
                          {"&Adjust volume manually", VolumeMode::Manual},
                          {"&Keep original volume (do not adjust volume)", VolumeMode::Keep},
                          {"Normalize loudn&ess to", VolumeMode::Loudness}},
                         values_.volumeType, VolumeMode::Keep);
  const QList<QAbstractButton*> radios = volumeRadios_->buttons();
  volumeEdit_ = Spin(group, "volumeEdit", SpinEdit::Kind::Signed, kMinVolumeArrows, Volume().high,
                     kVolumeStep, values_.volume);
  volumeEdit_->setFixedWidth(Scaled(80));
  auto* manual = new QGridLayout;
  manual->setContentsMargins(kIndent, 0, 0, 0);
  manual->addWidget(volumeEdit_, 0, 0, Qt::AlignTop);
  manual->addWidget(new QLabel(QStringLiteral("%"), group), 0, 1, Qt::AlignTop);
  auto* scale = new QLabel(
      Tr("< 100% - Decrease volume\n= 100% - No changes\n> 100% - Increase volume"), group);
  manual->addWidget(scale, 0, 2);
  NameAfter(volumeEdit_, radios[1], scale);
  manual->setColumnMinimumWidth(1, Scaled(24));
  manual->setColumnStretch(2, 1);
  box->addWidget(radios[0]);
  box->addWidget(radios[1]);
  box->addLayout(manual);
  box->addWidget(radios[2]);
  // The fourth choice: every output at one loudness (EBU R128), its true
  // peak kept at or below -1 dBTP.
  loudnessEdit_ = Spin(group, "loudnessEdit", SpinEdit::Kind::Signed, Loudness().low,
                       Loudness().high, 1, values_.loudnessTarget);
  loudnessEdit_->setFixedWidth(80);
  auto* loudness = new QHBoxLayout;
  loudness->addWidget(radios[3]);
  loudness->addWidget(loudnessEdit_);
  auto* unit = new QLabel(Tr("LUFS (true peak at most -1 dBTP)"), group);
  loudness->addWidget(unit);
  NameAfter(loudnessEdit_, radios[3], unit);
  // One gain for each album (the files of one folder): its tracks keep their balance.
  albumCheck_ = Check(group, "by al&bum", values_.loudnessByAlbum);
  loudness->addWidget(albumCheck_);
  loudness->addStretch(1);
  box->addLayout(loudness);
  connect(volumeRadios_, &QButtonGroup::idClicked, this, [this](int id) {
    ApplyEnabling(id == static_cast<int>(VolumeMode::Loudness) ? loudnessEdit_ : volumeEdit_);
  });
}

void COptGeneralPage::ApplyEnabling(QWidget* focus) {
  filterEdit_->setEnabled(filterCheck_->isChecked());
  skipEdit_->setEnabled(skipCheck_->isChecked());
  lengthEdit_->setEnabled(lengthCheck_->isChecked());
  volumeEdit_->setEnabled(volumeRadios_->checkedId() == static_cast<int>(VolumeMode::Manual));
  loudnessEdit_->setEnabled(volumeRadios_->checkedId() == static_cast<int>(VolumeMode::Loudness));
  albumCheck_->setEnabled(loudnessEdit_->isEnabled());
  if (focus != nullptr && focus->isEnabled()) focus->setFocus(Qt::OtherFocusReason);
}

bool COptGeneralPage::ReadControls() {
  values_.enableExtFilter = Checked(filterCheck_);
  values_.filterExts = filterEdit_->text().toStdString();
  values_.doNotLoadHiddenFiles = Checked(hiddenCheck_);
  values_.enableDtsForCda = Checked(dtsCheck_);
  // No radio is checked only for a stored mode outside the list; it stays.
  ReadRadios(monoRadios_, values_.monoType);
  values_.enableSkipLength = Checked(skipCheck_);
  values_.enableConvertLength = Checked(lengthCheck_);
  ReadRadios(volumeRadios_, values_.volumeType);
  values_.loudnessByAlbum = Checked(albumCheck_);
  // Every edit is checked, enabled or not: what it holds is stored.
  for (auto [edit, value, setting] : {std::tuple{skipEdit_, &values_.skipLength, &Skip()},
                                      std::tuple{lengthEdit_, &values_.convertLength, &Length()}}) {
    const std::optional<int32_t> number = edit->Value();
    if (!number || !setting->Allows(*number))
      return Refuse(prompts_, "Please enter a positive integer.", edit);
    *value = *number;
  }
  // No volume at all, or a negative one, would make silent or inverted
  // outputs; the arrows' upper end is the largest factor the engine takes.
  const std::optional<int32_t> volume = volumeEdit_->Value();
  if (!volume) return Refuse(prompts_, "Please enter an integer.", volumeEdit_);
  if (!Volume().Allows(*volume)) return RefuseOutside(prompts_, Volume(), volumeEdit_);
  values_.volume = *volume;
  // The loudness target is checked like every edit, in use or not.
  const std::optional<int32_t> target = loudnessEdit_->Value();
  if (!target || !Loudness().Allows(*target))
    return RefuseOutside(prompts_, Loudness(), loudnessEdit_);
  values_.loudnessTarget = *target;
  return true;
}

bool COptGeneralPage::Leave() {
  if (!ReadControls()) return false;
  values_.filterExts = CleanExtensionFilter(values_.filterExts);
  filterEdit_->setText(QString::fromStdString(values_.filterExts));
  // Commas alone ("," or ";") name no extension either, and a filter of
  // nothing would let no file in.
  if (values_.enableExtFilter != 0 && ParseExtensionFilter(values_.filterExts).empty())
    return Refuse(prompts_, "Please enter file extensions you need to filter.", filterEdit_);
  if (values_.enableConvertLength != 0 && values_.convertLength == 0)
    return Refuse(prompts_, "Conversion length must be greater than 0 millisecond.", lengthEdit_);
  return true;
}

void COptGeneralPage::Apply(ConversionSettings& s) const {
  using S = ConversionSettings;
  CopyFields(s, values_, &S::enableExtFilter, &S::filterExts, &S::doNotLoadHiddenFiles,
             &S::enableDtsForCda, &S::monoType, &S::enableSkipLength, &S::skipLength,
             &S::enableConvertLength, &S::convertLength, &S::volumeType, &S::volume,
             &S::loudnessTarget, &S::loudnessByAlbum);
}

}  // namespace quillo
