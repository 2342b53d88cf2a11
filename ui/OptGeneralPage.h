#pragma once

#include "ui/OptionsPage.h"
#include "ui/Translate.h"

class QLineEdit;

namespace quillo {

// The General page: the extension filter of Add Folder and drops, hidden
// files, DTS for CD tracks, how two channels become one, the skip and length
// windows, and the volume.
class COptGeneralPage final : public OptionsPage {
 public:
  COptGeneralPage(const ConversionSettings& settings, UserPrompts& prompts)
      : OptionsPage(Tr("General"), settings), prompts_(prompts) {}

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  void BuildFilterGroup();
  void BuildMonoGroup();
  void BuildLengthGroup();
  void BuildVolumeGroup();
  // The edits follow their check or radio; `focus` gets the focus when it is
  // now enabled.
  void ApplyEnabling(QWidget* focus = nullptr);
  bool ReadControls();

  UserPrompts& prompts_;

  QCheckBox* filterCheck_ = nullptr;
  QLineEdit* filterEdit_ = nullptr;
  QCheckBox* hiddenCheck_ = nullptr;
  QCheckBox* dtsCheck_ = nullptr;
  QButtonGroup* monoRadios_ = nullptr;
  QCheckBox* skipCheck_ = nullptr;
  SpinEdit* skipEdit_ = nullptr;
  QCheckBox* lengthCheck_ = nullptr;
  SpinEdit* lengthEdit_ = nullptr;
  QButtonGroup* volumeRadios_ = nullptr;
  SpinEdit* volumeEdit_ = nullptr;
  SpinEdit* loudnessEdit_ = nullptr;
  QCheckBox* albumCheck_ = nullptr;  // one loudness gain for each album
};

}  // namespace quillo
