#include "ui/AMROptPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "catalog/AmrModes.h"

namespace quillo {

void FillAmrModeList(QComboBox* list, bool wideBand, int32_t mode) {
  const auto fill = [list](const auto& modes) {
    for (size_t i = 0; i < modes.size(); ++i)
      list->addItem(QString::fromLatin1(modes[i].data(), static_cast<qsizetype>(modes[i].size())) +
                        QStringLiteral(" kbps"),
                    static_cast<int>(i));
    return static_cast<int>(modes.size());
  };
  const int count = wideBand ? fill(kAmrWideBandModes) : fill(kAmrNarrowBandModes);
  list->setCurrentIndex(AmrModeOrFallback(mode, count));
}

CAMROptPage::CAMROptPage(const ConversionSettings& s)
    : OptionsPage(QStringLiteral("AMR")),
      band_(s.amrType),
      narrowMode_(s.amrMode),
      wideMode_(s.amrWbMode),
      dtx_(s.amrDtx) {}

void CAMROptPage::Build() {
  QGroupBox* group = AddEncodingGroup();
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(10);

  bandRadios_ = new QButtonGroup(group);
  narrowList_ = new QComboBox(group);
  wideList_ = new QComboBox(group);
  narrowList_->setObjectName(QStringLiteral("narrowList"));
  wideList_->setObjectName(QStringLiteral("wideList"));
  FillAmrModeList(narrowList_, false, narrowMode_);
  FillAmrModeList(wideList_, true, wideMode_);
  const auto addBand = [&](int row, const char* radioText, AmrBand band, const char* listText,
                           QComboBox* list) {
    QRadioButton* radio =
        Radio(bandRadios_, group, radioText, static_cast<int>(band), static_cast<int>(band_));
    auto* label = new QLabel(QString::fromUtf8(listText), group);
    label->setBuddy(list);
    grid->addWidget(radio, row, 0);
    grid->addWidget(label, row, 1);
    grid->addWidget(list, row, 2, Qt::AlignLeft);
  };
  addBand(0, "&NB (Narrow Band, 8000 Hz)", AmrBand::Narrow, "&Bit Rate:", narrowList_);
  addBand(1, "&WB (Wide Band, 16000 Hz)", AmrBand::Wide, "Bit &Rate:", wideList_);
  dtxCheck_ = Check(group, "&Enable DTX (Discontinuous Transmission)", dtx_);
  grid->addWidget(dtxCheck_, 2, 0, 1, 3);
  grid->setColumnMinimumWidth(1, 60);
  grid->setColumnStretch(2, 1);

  connect(bandRadios_, &QButtonGroup::idClicked, this, &CAMROptPage::ApplyEnabling);
  ApplyEnabling();
}

void CAMROptPage::ApplyEnabling() {
  narrowList_->setEnabled(bandRadios_->checkedId() == static_cast<int>(AmrBand::Narrow));
  wideList_->setEnabled(bandRadios_->checkedId() == static_cast<int>(AmrBand::Wide));
}

bool CAMROptPage::Leave() {
  // No radio is checked only for a stored band outside the two; it stays.
  if (bandRadios_->checkedId() >= 0) band_ = static_cast<AmrBand>(bandRadios_->checkedId());
  narrowMode_ = narrowList_->currentData().toInt();
  wideMode_ = wideList_->currentData().toInt();
  dtx_ = Checked(dtxCheck_);
  return true;
}

void CAMROptPage::Apply(ConversionSettings& s) const {
  s.amrType = band_;
  s.amrMode = narrowMode_;
  s.amrWbMode = wideMode_;
  s.amrDtx = dtx_;
}

}  // namespace quillo
