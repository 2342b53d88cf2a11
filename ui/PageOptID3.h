#pragma once

#include "settings/ConversionSettings.h"
#include "ui/OptionsPage.h"

class QLineEdit;

namespace quillo {

class SpinEdit;
class UserPrompts;

// The ID3 page: whether outputs get the custom tags, the source's tags or
// none, and the custom tags themselves with the track number.
class CPageOptID3 final : public OptionsPage {
 public:
  CPageOptID3(const ConversionSettings& settings, UserPrompts& prompts);

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  // The tag fields follow the tag radio, the custom number its track radio,
  // the title edit the file-name check.
  void ApplyEnabling();

  UserPrompts& prompts_;
  // The page's copies; the radios as their indexes.
  int tagRadio_;
  int trackRadio_;
  TagSettings tags_;
  int32_t transferPictures_;
  int32_t writeReplayGain_;

  QButtonGroup* tagRadios_ = nullptr;
  QButtonGroup* trackRadios_ = nullptr;
  SpinEdit* trackEdit_ = nullptr;
  QCheckBox* fileNameCheck_ = nullptr;
  QCheckBox* picturesCheck_ = nullptr;    // with the transfer choice only
  QCheckBox* replayGainCheck_ = nullptr;  // with any tag choice but none
  QLineEdit* titleEdit_ = nullptr;
  QLineEdit* artistEdit_ = nullptr;
  QLineEdit* albumEdit_ = nullptr;
  QLineEdit* yearEdit_ = nullptr;
  QLineEdit* commentEdit_ = nullptr;
  QLineEdit* composerEdit_ = nullptr;
  QLineEdit* copyrightEdit_ = nullptr;
  QComboBox* genreBox_ = nullptr;
  QList<QWidget*> tagFields_;  // every control the custom tags enable
};

}  // namespace quillo
