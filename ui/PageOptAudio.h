#pragma once

#include <QString>
#include <cstdint>

#include "catalog/OutputFormat.h"
#include "ui/OptionsPage.h"

namespace quillo {

// The Audio Options page of one catalog row: the codec among the row's
// choices, and its sample rate, bit rate and channels, or the program's own
// choice of them.
class CPageOptAudio final : public OptionsPage {
 public:
  CPageOptAudio(const OutputFormat& row, const ConversionSettings& settings);

  bool Leave() override;
  // Writes the five encoding values into the settings' row of this format.
  void Apply(ConversionSettings& settings) const override;

  // A bit-rate entry's text: "4 bit" below 1000 (bits per code word),
  // "128 kbps" for whole kbit/s, else two decimals ("10.20 kbps").
  static QString BitRateText(int32_t bitRate);

 protected:
  void Build() override;

 private:
  void FillDependentLists(const CodecChoice& choice);
  void ApplyEnabling();
  void OnCodecChanged(int index);

  OutputFormat& row_;  // the format's row in the page's copy
  bool hasRates_ = false;
  bool hasBitRates_ = false;

  QComboBox* codecList_ = nullptr;
  QCheckBox* autoCheck_ = nullptr;
  QComboBox* rateList_ = nullptr;
  QComboBox* bitRateList_ = nullptr;
  QComboBox* channelList_ = nullptr;
};

}  // namespace quillo
