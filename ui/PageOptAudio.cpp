#include "ui/PageOptAudio.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "catalog/Catalog.h"
#include "settings/ConversionSettings.h"
#include "ui/Translate.h"
#include "ui/UiScale.h"

namespace quillo {

namespace {

// Wide enough for the longest codec name and "Auto" entry.
constexpr int kListWidth = 380;

QString PageCaption(const OutputFormat& row) {
  return QString::fromStdString(PageTitle(row).value_or(std::string(row.extension)));
}

}  // namespace

CPageOptAudio::CPageOptAudio(const OutputFormat& row, const ConversionSettings& settings)
    : OptionsPage(PageCaption(row), settings), row_(*FindFormat(values_.formats, row.formatId)) {}

QString CPageOptAudio::BitRateText(int32_t bitRate) {
  if (bitRate < 1000) return QStringLiteral("%1 bit").arg(bitRate);
  if (bitRate % 1000 == 0) return QStringLiteral("%1 kbps").arg(bitRate / 1000);
  return QString::asprintf("%.2f kbps", bitRate * 0.001);
}

void CPageOptAudio::Build() {
  QGroupBox* group = AddEncodingGroup();
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(10);

  codecList_ = List(group, "codecList");
  rateList_ = List(group, "rateList");
  bitRateList_ = List(group, "bitRateList");
  channelList_ = List(group, "channelList");
  autoCheck_ = Check(group, "A&uto (the program will choose the best options)", row_.autoEncParam);

  int row = 0;
  const auto addRow = [&](const char* text, QComboBox* list) {
    QLabel* label = Label(group, text, list);
    list->setMinimumWidth(Scaled(kListWidth));
    grid->addWidget(label, row, 0);
    grid->addWidget(list, row++, 1);
  };
  addRow("&Codec:", codecList_);
  grid->addWidget(autoCheck_, row++, 1);
  addRow("Sample &Rate:", rateList_);
  addRow("&Bit Rate:", bitRateList_);
  addRow("Channels:", channelList_);
  AddEncoderOption(group, grid, row);
  grid->setColumnStretch(2, 1);

  for (const CodecChoice* choice : row_.codecChoices)
    codecList_->addItem(QString::fromUtf8(choice->displayName), choice->codecId);
  // A stored codec the row does not offer shows the first one.
  SelectValue(codecList_, row_.codecId);
  if (codecList_->currentIndex() >= 0) {
    row_.codecId = codecList_->currentData().toInt();
    FillDependentLists(*row_.codecChoices[static_cast<size_t>(codecList_->currentIndex())]);
  }
  ApplyEnabling();

  connect(codecList_, &QComboBox::currentIndexChanged, this, &CPageOptAudio::OnCodecChanged);
  connect(autoCheck_, &QCheckBox::clicked, this, [this](bool checked) {
    row_.autoEncParam = checked ? 1 : 0;
    ApplyEnabling();
  });
}

void CPageOptAudio::AddEncoderOption(QWidget* group, QGridLayout* grid, int row) {
  if (row_.formatId == format_id::kOpus) {
    vbrCheck_ = Check(group, "&Variable bit rate (VBR)", values_.opusVbr);
    grid->addWidget(vbrCheck_, row, 1);
  } else if (row_.formatId == format_id::kWavPack) {
    compressionList_ = List(group, "compressionList");
    compressionList_->setMinimumWidth(Scaled(kListWidth));
    FillList<int32_t>(compressionList_, {{"Fast", 0}, {"Normal", 1}, {"High", 2}, {"Very high", 3}},
                      values_.wavPackCompression);
    grid->addWidget(Label(group, "Co&mpression:", compressionList_), row, 0);
    grid->addWidget(compressionList_, row, 1);
  }
}

void CPageOptAudio::FillDependentLists(const CodecChoice& choice) {
  rateList_->clear();
  bitRateList_->clear();
  channelList_->clear();

  const std::span<const int32_t> rates = ListValues(choice.sampleRates);
  hasRates_ = !rates.empty();
  for (int32_t rate : rates) rateList_->addItem(QStringLiteral("%1 Hz").arg(rate), rate);
  if (rates.size() > 1)
    rateList_->addItem(Tr("Auto (the program will choose the best sample rate)"), 0);
  SelectValue(rateList_, row_.sampleRate);

  const std::span<const int32_t> bitRates = ListValues(choice.bitRates);
  hasBitRates_ = !bitRates.empty();
  for (int32_t bitRate : bitRates) bitRateList_->addItem(BitRateText(bitRate), bitRate);
  if (bitRates.size() > 1)
    bitRateList_->addItem(Tr("Auto (the program will choose the best bit rate)"), 0);
  SelectValue(bitRateList_, row_.bitRate);

  const bool stereo = (choice.channelMask & kStereoAllowed) != 0;
  const bool mono = (choice.channelMask & kMonoAllowed) != 0;
  if (stereo) channelList_->addItem(Tr("Stereo"), 2);
  if (mono) channelList_->addItem(Tr("Mono"), 1);
  if (stereo && mono)
    channelList_->addItem(Tr("Auto (the program will choose the best channels)"), 0);
  SelectValue(channelList_, row_.channels);
}

void CPageOptAudio::ApplyEnabling() {
  const bool manual = row_.autoEncParam == 0;
  rateList_->setEnabled(hasRates_ && manual);
  bitRateList_->setEnabled(hasBitRates_ && manual);
  channelList_->setEnabled(manual);
}

void CPageOptAudio::OnCodecChanged(int index) {
  if (index < 0) return;
  // The lists refill from the page's stored rate, bit rate and channels, so
  // that looking at another codec and coming back shows them again.
  FillDependentLists(*row_.codecChoices[static_cast<size_t>(index)]);
  ApplyEnabling();
}

bool CPageOptAudio::Leave() {
  row_.autoEncParam = Checked(autoCheck_);
  row_.codecId = SelectedValue(codecList_, row_.codecId);
  row_.sampleRate = SelectedValue(rateList_, 0);
  row_.bitRate = SelectedValue(bitRateList_, 0);
  row_.channels = SelectedValue(channelList_, 1);
  if (vbrCheck_ != nullptr) values_.opusVbr = Checked(vbrCheck_);
  if (compressionList_ != nullptr)
    values_.wavPackCompression = SelectedValue(compressionList_, values_.wavPackCompression);
  return true;
}

void CPageOptAudio::Apply(ConversionSettings& settings) const {
  OutputFormat* row = FindFormat(settings.formats, row_.formatId);
  if (row == nullptr) return;
  CopyFields(*row, row_, &OutputFormat::autoEncParam, &OutputFormat::codecId,
             &OutputFormat::sampleRate, &OutputFormat::bitRate, &OutputFormat::channels);
  if (row_.formatId == format_id::kOpus) settings.opusVbr = values_.opusVbr;
  if (row_.formatId == format_id::kWavPack)
    settings.wavPackCompression = values_.wavPackCompression;
}

}  // namespace quillo
