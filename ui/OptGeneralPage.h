#pragma once

#include <string>

#include "settings/ConversionSettings.h"
#include "ui/OptionsPage.h"

class QLineEdit;

namespace quillo {

class SpinEdit;
class UserPrompts;

// The General page: the extension filter of Add Folder and drops, hidden
// files, DTS for CD tracks, how two channels become one, the skip and length
// windows, and the volume.
class COptGeneralPage final : public OptionsPage {
 public:
  COptGeneralPage(const ConversionSettings& settings, UserPrompts& prompts);

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  // Radios with ids 0, 1, 2 ... in one exclusive group; `checked` outside
  // them leaves every radio clear.
  static QButtonGroup* Radios(QWidget* parent, std::initializer_list<const char*> texts,
                              int checked, QList<QRadioButton*>& buttons);
  void BuildFilterGroup();
  void BuildMonoGroup();
  void BuildLengthGroup();
  void BuildVolumeGroup();
  // The edits follow their check or radio; `focus` gets the focus when it is
  // now enabled.
  void ApplyEnabling(QWidget* focus = nullptr);
  bool ReadControls();

  UserPrompts& prompts_;
  // The page's copies.
  int32_t enableExtFilter_;
  std::string filterExts_;
  int32_t doNotLoadHiddenFiles_;
  int32_t enableDtsForCda_;
  MonoMixMode monoType_;
  int32_t enableSkipLength_;
  int32_t skipLength_;
  int32_t enableConvertLength_;
  int32_t convertLength_;
  int volumeRadio_;
  int32_t volume_;
  int32_t loudnessTarget_;  // whole LUFS

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
};

}  // namespace quillo
