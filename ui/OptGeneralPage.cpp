#include "ui/OptGeneralPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/UserPrompts.h"
#include "ui/OptionValues.h"
#include "ui/SpinEdit.h"
#include "ui/UiScale.h"

namespace quillo {

namespace {

constexpr int32_t kMaxLength = 2147483647;
constexpr int32_t kLengthStep = 100;
constexpr int32_t kMinVolume = 10;
constexpr int32_t kMaxVolume = 32767;
constexpr int32_t kVolumeStep = 10;
constexpr int32_t kMinLoudness = -40;  // LUFS
constexpr int32_t kMaxLoudness = -5;
constexpr int kIndent = 20;

const char* const kMonoExplanation =
    "In general, the output sound equals to \"(L+R)/2,\" which contains left and right "
    "channels.\n\n\"L channel\" means the program outputs left channel of original stereo file. "
    "And \"R channel\" means right channel. It's very useful when you want to convert a stereo "
    "file into two files that contains left and right channels distinguishingly.";

QLabel* Note(const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setWordWrap(true);
  return label;
}

}  // namespace

COptGeneralPage::COptGeneralPage(const ConversionSettings& s, UserPrompts& prompts)
    : OptionsPage(QStringLiteral("General")),
      prompts_(prompts),
      enableExtFilter_(s.enableExtFilter),
      filterExts_(s.filterExts),
      doNotLoadHiddenFiles_(s.doNotLoadHiddenFiles),
      enableDtsForCda_(s.enableDtsForCda),
      monoType_(s.monoType),
      enableSkipLength_(s.enableSkipLength),
      skipLength_(s.skipLength),
      enableConvertLength_(s.enableConvertLength),
      convertLength_(s.convertLength),
      volumeRadio_(VolumeRadio(s.volumeType)),
      volume_(s.volume),
      loudnessTarget_(s.loudnessTarget) {}

void COptGeneralPage::Build() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  BuildFilterGroup();
  BuildMonoGroup();
  BuildLengthGroup();
  BuildVolumeGroup();
  layout->addStretch(1);
  ApplyEnabling();
}

QButtonGroup* COptGeneralPage::Radios(QWidget* parent, std::initializer_list<const char*> texts,
                                      int checked, QList<QRadioButton*>& buttons) {
  auto* group = new QButtonGroup(parent);
  int id = 0;
  for (const char* text : texts) buttons.push_back(Radio(group, parent, text, id++, checked));
  return group;
}

void COptGeneralPage::BuildFilterGroup() {
  auto* group = new QGroupBox(QStringLiteral("Adding files"), this);
  auto* box = new QVBoxLayout(group);
  filterCheck_ =
      Check(group, "&Only add the following file extensions for \"Add Folder\" and Drag/Drop",
            enableExtFilter_);
  filterEdit_ = new QLineEdit(QString::fromStdString(filterExts_), group);
  filterEdit_->setObjectName(QStringLiteral("filterEdit"));
  auto* edit = new QVBoxLayout;
  edit->setContentsMargins(kIndent, 0, 0, 0);
  edit->addWidget(filterEdit_);
  edit->addWidget(
      Note("Note: use comma (,) to separate multiple extensions. For example: "
           "wav,mp3,m4a,aac"));
  hiddenCheck_ = Check(group, "&Do not load hidden files", doNotLoadHiddenFiles_);
  dtsCheck_ = Check(group, "&Use DTS to decode CDA files", enableDtsForCda_);
  box->addWidget(filterCheck_);
  box->addLayout(edit);
  box->addWidget(hiddenCheck_);
  box->addWidget(dtsCheck_);
  connect(filterCheck_, &QCheckBox::clicked, this, [this] { ApplyEnabling(filterEdit_); });
  static_cast<QVBoxLayout*>(layout())->addWidget(group);
}

void COptGeneralPage::BuildMonoGroup() {
  auto* group = new QGroupBox(QStringLiteral("Stereo to mono"), this);
  auto* box = new QVBoxLayout(group);
  auto* question = new QHBoxLayout;
  question->addWidget(Note("When converting 2 channels to 1 channel, the out channel equals to:"),
                      1);
  auto* help = new QPushButton(QStringLiteral("?"), group);
  help->setAutoDefault(false);
  help->setFixedWidth(help->sizeHint().height());
  help->setToolTip(QStringLiteral("What do these choices mean?"));
  connect(help, &QPushButton::clicked, this, [this] { prompts_.Inform(kMonoExplanation); });
  question->addWidget(help);
  box->addLayout(question);
  QList<QRadioButton*> radios;
  monoRadios_ = Radios(group, {"(L+R) / &2 (default)", "&L channel", "&R channel"},
                       static_cast<int>(monoType_), radios);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(kIndent, 0, 0, 0);
  for (QRadioButton* radio : radios) row->addWidget(radio);
  row->addStretch(1);
  box->addLayout(row);
  static_cast<QVBoxLayout*>(layout())->addWidget(group);
}

void COptGeneralPage::BuildLengthGroup() {
  auto* group = new QGroupBox(QStringLiteral("Length"), this);
  auto* grid = new QGridLayout(group);
  const auto addRow = [&](int row, QCheckBox* check, SpinEdit* edit, const char* text) {
    edit->setFixedWidth(Scaled(110));
    grid->addWidget(check, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(QString::fromUtf8(text), group), row, 2);
  };
  skipCheck_ = Check(group, "&Skip the first", enableSkipLength_);
  skipEdit_ = new SpinEdit(group, SpinEdit::Kind::Unsigned, 0, kMaxLength, kLengthStep);
  skipEdit_->SetValue(skipLength_);
  skipEdit_->setObjectName(QStringLiteral("skipEdit"));
  addRow(0, skipCheck_, skipEdit_, "milliseconds (ms) of each file (1 sec = 1000 ms)");
  lengthCheck_ = Check(group, "Only &convert", enableConvertLength_);
  lengthEdit_ = new SpinEdit(group, SpinEdit::Kind::Unsigned, 0, kMaxLength, kLengthStep);
  lengthEdit_->SetValue(convertLength_);
  lengthEdit_->setObjectName(QStringLiteral("lengthEdit"));
  addRow(1, lengthCheck_, lengthEdit_, "milliseconds (ms) length for each file (1 sec = 1000 ms)");
  grid->setColumnStretch(2, 1);
  connect(skipCheck_, &QCheckBox::clicked, this, [this] { ApplyEnabling(skipEdit_); });
  connect(lengthCheck_, &QCheckBox::clicked, this, [this] { ApplyEnabling(lengthEdit_); });
  static_cast<QVBoxLayout*>(layout())->addWidget(group);
}

void COptGeneralPage::BuildVolumeGroup() {
  auto* group = new QGroupBox(QStringLiteral("Volume"), this);
  auto* box = new QVBoxLayout(group);
  QList<QRadioButton*> radios;
  volumeRadios_ = Radios(group,
                         {"&Normalize volume automatically so that all output files have the "
                          "same volume",
                          "&Adjust volume manually", "&Keep original volume (do not adjust volume)",
                          "Normalize &loudness to"},
                         volumeRadio_, radios);
  volumeEdit_ = new SpinEdit(group, SpinEdit::Kind::Signed, kMinVolume, kMaxVolume, kVolumeStep);
  volumeEdit_->SetValue(volume_);
  volumeEdit_->setObjectName(QStringLiteral("volumeEdit"));
  volumeEdit_->setFixedWidth(Scaled(80));
  auto* manual = new QGridLayout;
  manual->setContentsMargins(kIndent, 0, 0, 0);
  manual->addWidget(volumeEdit_, 0, 0, Qt::AlignTop);
  manual->addWidget(new QLabel(QStringLiteral("%"), group), 0, 1, Qt::AlignTop);
  manual->addWidget(
      new QLabel(QStringLiteral("< 100% - Decrease volume\n= 100% - No changes\n> 100% - Increase "
                                "volume"),
                 group),
      0, 2);
  manual->setColumnMinimumWidth(1, Scaled(24));
  manual->setColumnStretch(2, 1);
  box->addWidget(radios[0]);
  box->addWidget(radios[1]);
  box->addLayout(manual);
  box->addWidget(radios[2]);
  // The fourth choice: every output at one loudness (EBU R128), its true
  // peak kept at or below -1 dBTP.
  loudnessEdit_ = new SpinEdit(group, SpinEdit::Kind::Signed, kMinLoudness, kMaxLoudness, 1);
  loudnessEdit_->SetValue(loudnessTarget_);
  loudnessEdit_->setObjectName(QStringLiteral("loudnessEdit"));
  loudnessEdit_->setFixedWidth(80);
  auto* loudness = new QHBoxLayout;
  loudness->addWidget(radios[3]);
  loudness->addWidget(loudnessEdit_);
  loudness->addWidget(new QLabel(QStringLiteral("LUFS (true peak at most -1 dBTP)"), group));
  loudness->addStretch(1);
  box->addLayout(loudness);
  connect(volumeRadios_, &QButtonGroup::idClicked, this, [this](int id) {
    ApplyEnabling(id == 3 ? loudnessEdit_ : volumeEdit_);
  });
  static_cast<QVBoxLayout*>(layout())->addWidget(group);
}

void COptGeneralPage::ApplyEnabling(QWidget* focus) {
  filterEdit_->setEnabled(filterCheck_->isChecked());
  skipEdit_->setEnabled(skipCheck_->isChecked());
  lengthEdit_->setEnabled(lengthCheck_->isChecked());
  volumeEdit_->setEnabled(volumeRadios_->checkedId() == 1);
  loudnessEdit_->setEnabled(volumeRadios_->checkedId() == 3);
  if (focus != nullptr && focus->isEnabled()) focus->setFocus(Qt::OtherFocusReason);
}

bool COptGeneralPage::ReadControls() {
  enableExtFilter_ = Checked(filterCheck_);
  filterExts_ = filterEdit_->text().toStdString();
  doNotLoadHiddenFiles_ = Checked(hiddenCheck_);
  enableDtsForCda_ = Checked(dtsCheck_);
  // No radio is checked only for a stored mode outside the list; it stays.
  if (monoRadios_->checkedId() >= 0) monoType_ = static_cast<MonoMixMode>(monoRadios_->checkedId());
  enableSkipLength_ = Checked(skipCheck_);
  enableConvertLength_ = Checked(lengthCheck_);
  if (volumeRadios_->checkedId() >= 0) volumeRadio_ = volumeRadios_->checkedId();
  // Every edit is checked, enabled or not: what it holds is stored.
  for (auto [edit, value] : {std::pair{skipEdit_, &skipLength_}, {lengthEdit_, &convertLength_}}) {
    const std::optional<int32_t> number = edit->Value();
    if (!number || *number < 0) return Refuse(prompts_, "Please enter a positive integer.", edit);
    *value = *number;
  }
  // No volume at all, or a negative one, would make silent or inverted
  // outputs; the arrows' upper end is the largest factor the engine takes.
  const std::optional<int32_t> volume = volumeEdit_->Value();
  if (!volume) return Refuse(prompts_, "Please enter an integer.", volumeEdit_);
  if (*volume < 1 || *volume > kMaxVolume)
    return Refuse(prompts_, "Please enter an integer between 1 and 32767.", volumeEdit_);
  volume_ = *volume;
  // The loudness target is checked like every edit, in use or not.
  const std::optional<int32_t> target = loudnessEdit_->Value();
  if (!target || *target < kMinLoudness || *target > kMaxLoudness)
    return Refuse(prompts_, "Please enter an integer between -40 and -5.", loudnessEdit_);
  loudnessTarget_ = *target;
  return true;
}

bool COptGeneralPage::Leave() {
  if (!ReadControls()) return false;
  std::string cleaned;
  for (char c : filterExts_) {
    if (c == ' ' || c == '\t') continue;
    cleaned += c == ';' ? ',' : c;
  }
  filterExts_ = cleaned;
  filterEdit_->setText(QString::fromStdString(filterExts_));
  // Commas alone ("," or ";") name no extension either, and a filter of
  // nothing would let no file in.
  if (enableExtFilter_ != 0 && ParseExtensionFilter(filterExts_).empty())
    return Refuse(prompts_, "Please enter file extensions you need to filter.", filterEdit_);
  if (enableConvertLength_ != 0 && convertLength_ == 0)
    return Refuse(prompts_, "Conversion length must be greater than 0 millisecond.", lengthEdit_);
  return true;
}

void COptGeneralPage::Apply(ConversionSettings& s) const {
  s.enableExtFilter = enableExtFilter_;
  s.filterExts = filterExts_;
  s.doNotLoadHiddenFiles = doNotLoadHiddenFiles_;
  s.enableDtsForCda = enableDtsForCda_;
  s.monoType = monoType_;
  s.enableSkipLength = enableSkipLength_;
  s.skipLength = skipLength_;
  s.enableConvertLength = enableConvertLength_;
  s.convertLength = convertLength_;
  s.volumeType = VolumeModeOfRadio(volumeRadio_);
  s.volume = volume_;
  s.loudnessTarget = loudnessTarget_;
}

}  // namespace quillo
