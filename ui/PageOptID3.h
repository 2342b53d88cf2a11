#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/OptionsPage.h"

class QLineEdit;

namespace quillo {

// The ID3 page: whether outputs get the custom tags, the source's tags or
// none, and the custom tags themselves with the track number.
class CPageOptID3 final : public OptionsPage {
 public:
  CPageOptID3(const ConversionSettings& settings, UserPrompts& prompts)
      : OptionsPage(QStringLiteral("ID3"), settings), prompts_(prompts) {}

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  // The tag fields follow the tag radio, the custom number its track radio,
  // the title edit the file-name check.
  void ApplyEnabling();

  UserPrompts& prompts_;

  QButtonGroup* tagRadios_ = nullptr;
  QButtonGroup* trackRadios_ = nullptr;
  SpinEdit* trackEdit_ = nullptr;
  QCheckBox* fileNameCheck_ = nullptr;
  QCheckBox* picturesCheck_ = nullptr;    // with the transfer choice only
  QCheckBox* replayGainCheck_ = nullptr;  // with any tag choice but none
  QCheckBox* albumGainCheck_ = nullptr;   // with the ReplayGain check
  QLineEdit* titleEdit_ = nullptr;
  QComboBox* genreBox_ = nullptr;
  // The tag text each edit shows, the title's first.
  std::vector<std::pair<QLineEdit*, std::string TagSettings::*>> tagEdits_;
  QList<QWidget*> tagFields_;  // every control the custom tags enable
};

}  // namespace quillo
