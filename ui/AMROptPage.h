#pragma once

#include <cstdint>

#include "ui/OptionsPage.h"

namespace quillo {

// Fills a mode list with the narrow-band ("4.75 kbps" ... "12.2 kbps") or
// wide-band ("6.60 kbps" ... "23.85 kbps") modes, each entry carrying its
// mode number, and selects `mode`; a mode the band lacks selects mode 4.
void FillAmrModeList(QComboBox* list, bool wideBand, int32_t mode);

// The AMR page: the band of AMR outputs with the mode of each band, and DTX.
class CAMROptPage final : public OptionsPage {
 public:
  explicit CAMROptPage(const ConversionSettings& settings)
      : OptionsPage(QStringLiteral("AMR"), settings) {}

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  void ApplyEnabling();

  QButtonGroup* bandRadios_ = nullptr;
  QComboBox* narrowList_ = nullptr;
  QComboBox* wideList_ = nullptr;
  QCheckBox* dtxCheck_ = nullptr;
};

}  // namespace quillo
