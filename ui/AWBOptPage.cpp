#include "ui/AWBOptPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "ui/AMROptPage.h"
#include "ui/Translate.h"

namespace quillo {

void CAWBOptPage::Build() {
  QGroupBox* group = AddEncodingGroup();
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(10);

  modeList_ = List(group, "modeList");
  FillAmrModeList(modeList_, true, values_.awbMode);
  QLabel* label = Label(group, "&Bit Rate:", modeList_);
  dtxCheck_ = Check(group, "&Enable DTX (Discontinuous Transmission)", values_.awbDtx);
  grid->addWidget(new QLabel(Tr("Sample Frequency: 16000 Hz"), group), 0, 0, 1, 2);
  grid->addWidget(label, 1, 0);
  grid->addWidget(modeList_, 1, 1, Qt::AlignLeft);
  grid->addWidget(dtxCheck_, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
}

bool CAWBOptPage::Leave() {
  values_.awbMode = modeList_->currentData().toInt();
  values_.awbDtx = Checked(dtxCheck_);
  return true;
}

void CAWBOptPage::Apply(ConversionSettings& s) const {
  CopyFields(s, values_, &ConversionSettings::awbMode, &ConversionSettings::awbDtx);
}

}  // namespace quillo
