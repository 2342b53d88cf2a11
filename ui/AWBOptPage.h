#pragma once

#include "ui/OptionsPage.h"

namespace quillo {

// The AWB page: the wide-band mode of AWB outputs and DTX.
class CAWBOptPage final : public OptionsPage {
 public:
  explicit CAWBOptPage(const ConversionSettings& settings)
      : OptionsPage(QStringLiteral("AWB"), settings) {}

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  QComboBox* modeList_ = nullptr;
  QCheckBox* dtxCheck_ = nullptr;
};

}  // namespace quillo
