#pragma once

#include <cstdint>

#include "ui/OptionsPage.h"

namespace quillo {

// The AWB page: the wide-band mode of AWB outputs and DTX.
class CAWBOptPage final : public OptionsPage {
 public:
  explicit CAWBOptPage(const ConversionSettings& settings);

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  // The page's copies.
  int32_t mode_;
  int32_t dtx_;

  QComboBox* modeList_ = nullptr;
  QCheckBox* dtxCheck_ = nullptr;
};

}  // namespace quillo
