#include "ui/AMROptPage.h"

#include <QCheckBox>
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

void CAMROptPage::Build() {
  QGroupBox* group = AddEncodingGroup();
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(10);

  narrowList_ = List(group, "narrowList");
  wideList_ = List(group, "wideList");
  FillAmrModeList(narrowList_, false, values_.amrMode);
  FillAmrModeList(wideList_, true, values_.amrWbMode);
  bandRadios_ = new QButtonGroup(group);
  const auto addBand = [&](int row, const char* radioText, AmrBand band, const char* listText,
                           QComboBox* list) {
    grid->addWidget(Radio(bandRadios_, group, radioText, static_cast<int>(band),
                          static_cast<int>(values_.amrType)),
                    row, 0);
    grid->addWidget(Label(group, listText, list), row, 1);
    grid->addWidget(list, row, 2, Qt::AlignLeft);
  };
  addBand(0, "&NB (Narrow Band, 8000 Hz)", AmrBand::Narrow, "&Bit Rate:", narrowList_);
  addBand(1, "&WB (Wide Band, 16000 Hz)", AmrBand::Wide, "Bit &Rate:", wideList_);
  dtxCheck_ = Check(group, "&Enable DTX (Discontinuous Transmission)", values_.amrDtx);
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
  ReadRadios(bandRadios_, values_.amrType);
  values_.amrMode = narrowList_->currentData().toInt();
  values_.amrWbMode = wideList_->currentData().toInt();
  values_.amrDtx = Checked(dtxCheck_);
  return true;
}

void CAMROptPage::Apply(ConversionSettings& s) const {
  CopyFields(s, values_, &ConversionSettings::amrType, &ConversionSettings::amrMode,
             &ConversionSettings::amrWbMode, &ConversionSettings::amrDtx);
}

}  // namespace quillo
