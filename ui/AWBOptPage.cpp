#include "ui/AWBOptPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "settings/ConversionSettings.h"
#include "ui/AMROptPage.h"

namespace quillo {

CAWBOptPage::CAWBOptPage(const ConversionSettings& s)
    : OptionsPage(QStringLiteral("AWB")), mode_(s.awbMode), dtx_(s.awbDtx) {}

void CAWBOptPage::Build() {
  QGroupBox* group = AddEncodingGroup();
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(10);

  modeList_ = new QComboBox(group);
  modeList_->setObjectName(QStringLiteral("modeList"));
  FillAmrModeList(modeList_, true, mode_);
  auto* label = new QLabel(QStringLiteral("&Bit Rate:"), group);
  label->setBuddy(modeList_);
  dtxCheck_ = Check(group, "&Enable DTX (Discontinuous Transmission)", dtx_);
  grid->addWidget(new QLabel(QStringLiteral("Sample Frequency: 16000 Hz"), group), 0, 0, 1, 2);
  grid->addWidget(label, 1, 0);
  grid->addWidget(modeList_, 1, 1, Qt::AlignLeft);
  grid->addWidget(dtxCheck_, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
}

bool CAWBOptPage::Leave() {
  mode_ = modeList_->currentData().toInt();
  dtx_ = Checked(dtxCheck_);
  return true;
}

void CAWBOptPage::Apply(ConversionSettings& s) const {
  s.awbMode = mode_;
  s.awbDtx = dtx_;
}

}  // namespace quillo
