#pragma once

#include <QString>
#include <cstdint>

#include "catalog/OutputFormat.h"
#include "ui/OptionsPage.h"

class QGridLayout;

namespace quillo {

// The Audio Options page of one catalog row: the codec among the row's
// choices, and its sample rate, bit rate and channels, or the program's own
// choice of them; for Opus its bit-rate mode, for WavPack its compression
// level.
class CPageOptAudio final : public OptionsPage {
 public:
  CPageOptAudio(const OutputFormat& row, const ConversionSettings& settings);

  bool Leave() override;
  // Writes the five encoding values into the settings' row of this format,
  // and the row's own encoder option where it has one.
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
  // The row's own encoder option, below the common lists.
  void AddEncoderOption(QWidget* group, QGridLayout* grid, int row);

  OutputFormat& row_;  // the format's row in the page's copy
  bool hasRates_ = false;
  bool hasBitRates_ = false;

  QComboBox* codecList_ = nullptr;
  QCheckBox* autoCheck_ = nullptr;
  QComboBox* rateList_ = nullptr;
  QComboBox* bitRateList_ = nullptr;
  QComboBox* channelList_ = nullptr;
  QCheckBox* vbrCheck_ = nullptr;         // Opus
  QComboBox* compressionList_ = nullptr;  // WavPack
};

}  // namespace quillo
