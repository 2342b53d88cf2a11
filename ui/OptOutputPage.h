#pragma once

#include <QString>
#include <functional>

#include "ui/OptionsPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillo {

class Shell;

// Asks the user for a folder: the browser's title and the folder it starts
// in; an empty answer when the user cancelled.
using FolderChooser =
    std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

// The Output page: where the outputs go, the directory tree below a
// specific folder, what happens to an existing target, the fallbacks,
// whether each output is checked before it takes its name, and the pattern
// that names outputs from their tags.
class COptOutputPage final : public OptionsPage {
 public:
  // A null `chooseFolder` uses the desktop's folder dialog.
  COptOutputPage(const ConversionSettings& settings, UserPrompts& prompts, Shell& shell,
                 FolderChooser chooseFolder);

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  void ApplyEnabling();
  void ReadControls();
  void Browse();
  void Open();

  UserPrompts& prompts_;
  Shell& shell_;
  FolderChooser chooseFolder_;

  QComboBox* modeList_ = nullptr;
  QLineEdit* folderEdit_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* open_ = nullptr;
  QCheckBox* treeCheck_ = nullptr;
  QLabel* treeExample_ = nullptr;
  QComboBox* targetList_ = nullptr;
  QCheckBox* documentsCheck_ = nullptr;
  QCheckBox* browseCheck_ = nullptr;
  QCheckBox* verifyCheck_ = nullptr;
  QLineEdit* nameEdit_ = nullptr;
  QLabel* nameExample_ = nullptr;
  QCheckBox* joinCueCheck_ = nullptr;
};

}  // namespace quillo
