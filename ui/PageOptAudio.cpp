#include "ui/PageOptAudio.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "catalog/Catalog.h"
#include "settings/ConversionSettings.h"
#include "ui/UiScale.h"

namespace quillo {

namespace {

// Wide enough for the longest codec name and "Auto" entry.
constexpr int kListWidth = 380;

QString PageCaption(const OutputFormat& row) {
  return QString::fromStdString(PageTitle(row).value_or(std::string(row.extension)));
}

}  // namespace

CPageOptAudio::CPageOptAudio(const OutputFormat& row)
    : OptionsPage(PageCaption(row)),
      formatId_(row.formatId),
      choices_(row.codecChoices),
      autoEncParam_(row.autoEncParam),
      codecId_(row.codecId),
      sampleRate_(row.sampleRate),
      bitRate_(row.bitRate),
      channels_(row.channels) {}

QString CPageOptAudio::BitRateText(int32_t bitRate) {
  if (bitRate < 1000) return QStringLiteral("%1 bit").arg(bitRate);
  if (bitRate % 1000 == 0) return QStringLiteral("%1 kbps").arg(bitRate / 1000);
  return QString::asprintf("%.2f kbps", bitRate * 0.001);
}

void CPageOptAudio::Build() {
  QGroupBox* group = AddEncodingGroup();
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(10);

  codecList_ = new QComboBox(group);
  rateList_ = new QComboBox(group);
  bitRateList_ = new QComboBox(group);
  channelList_ = new QComboBox(group);
  codecList_->setObjectName(QStringLiteral("codecList"));
  rateList_->setObjectName(QStringLiteral("rateList"));
  bitRateList_->setObjectName(QStringLiteral("bitRateList"));
  channelList_->setObjectName(QStringLiteral("channelList"));
  autoCheck_ = Check(group, "A&uto (the program will choose the best options)", autoEncParam_);

  int row = 0;
  const auto addRow = [&](const char* text, QComboBox* list) {
    auto* label = new QLabel(QString::fromUtf8(text), group);
    label->setBuddy(list);
    list->setMinimumWidth(Scaled(kListWidth));
    grid->addWidget(label, row, 0);
    grid->addWidget(list, row++, 1);
  };
  addRow("&Codec:", codecList_);
  grid->addWidget(autoCheck_, row++, 1);
  addRow("Sample &Rate:", rateList_);
  addRow("&Bit Rate:", bitRateList_);
  addRow("Channels:", channelList_);
  grid->setColumnStretch(2, 1);

  for (const CodecChoice* choice : choices_)
    codecList_->addItem(QString::fromUtf8(choice->displayName), choice->codecId);
  // A stored codec the row does not offer shows the first one.
  SelectValue(codecList_, codecId_);
  if (codecList_->currentIndex() >= 0) {
    codecId_ = codecList_->currentData().toInt();
    FillDependentLists(*choices_[static_cast<size_t>(codecList_->currentIndex())]);
  }
  ApplyEnabling();

  connect(codecList_, &QComboBox::currentIndexChanged, this, &CPageOptAudio::OnCodecChanged);
  connect(autoCheck_, &QCheckBox::clicked, this, [this](bool checked) {
    autoEncParam_ = checked ? 1 : 0;
    ApplyEnabling();
  });
}

void CPageOptAudio::FillDependentLists(const CodecChoice& choice) {
  rateList_->clear();
  bitRateList_->clear();
  channelList_->clear();

  const std::span<const int32_t> rates = ListValues(choice.sampleRates);
  hasRates_ = !rates.empty();
  for (int32_t rate : rates) rateList_->addItem(QStringLiteral("%1 Hz").arg(rate), rate);
  if (rates.size() > 1)
    rateList_->addItem(QStringLiteral("Auto (the program will choose the best sample rate)"), 0);
  SelectValue(rateList_, sampleRate_);

  const std::span<const int32_t> bitRates = ListValues(choice.bitRates);
  hasBitRates_ = !bitRates.empty();
  for (int32_t bitRate : bitRates) bitRateList_->addItem(BitRateText(bitRate), bitRate);
  if (bitRates.size() > 1)
    bitRateList_->addItem(QStringLiteral("Auto (the program will choose the best bit rate)"), 0);
  SelectValue(bitRateList_, bitRate_);

  const bool stereo = (choice.channelMask & kStereoAllowed) != 0;
  const bool mono = (choice.channelMask & kMonoAllowed) != 0;
  if (stereo) channelList_->addItem(QStringLiteral("Stereo"), 2);
  if (mono) channelList_->addItem(QStringLiteral("Mono"), 1);
  if (stereo && mono)
    channelList_->addItem(QStringLiteral("Auto (the program will choose the best channels)"), 0);
  SelectValue(channelList_, channels_);
}

void CPageOptAudio::ApplyEnabling() {
  const bool manual = autoEncParam_ == 0;
  rateList_->setEnabled(hasRates_ && manual);
  bitRateList_->setEnabled(hasBitRates_ && manual);
  channelList_->setEnabled(manual);
}

void CPageOptAudio::OnCodecChanged(int index) {
  if (index < 0) return;
  // The lists refill from the page's stored rate, bit rate and channels, so
  // that looking at another codec and coming back shows them again.
  FillDependentLists(*choices_[static_cast<size_t>(index)]);
  ApplyEnabling();
}

bool CPageOptAudio::Leave() {
  autoEncParam_ = Checked(autoCheck_);
  codecId_ = SelectedValue(codecList_, codecId_);
  sampleRate_ = SelectedValue(rateList_, 0);
  bitRate_ = SelectedValue(bitRateList_, 0);
  channels_ = SelectedValue(channelList_, 1);
  return true;
}

void CPageOptAudio::Apply(ConversionSettings& settings) const {
  OutputFormat* row = FindFormat(settings.formats, formatId_);
  if (row == nullptr) return;
  row->autoEncParam = autoEncParam_;
  row->codecId = codecId_;
  row->sampleRate = sampleRate_;
  row->bitRate = bitRate_;
  row->channels = channels_;
}

}  // namespace quillo
