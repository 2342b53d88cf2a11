#pragma once

#include <QDialog>
#include <vector>

#include "ui/OptOutputPage.h"

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QStackedWidget;

namespace quillo {

class ConversionSettings;
class OptionsPage;
class Shell;
class UserPrompts;
class WindowsMediaRuntime;

// What the options pages need of the window.
struct OptionsServices {
  UserPrompts& prompts;
  Shell& shell;
  WindowsMediaRuntime* windowsMedia = nullptr;  // null: no Windows Media support
  FolderChooser chooseFolder = nullptr;         // null: the desktop's folder dialog
};

// The options sheet: the General, Output and ID3 pages, then one encoding
// page per output format in catalog order (the AMR, AWB and WMA pages at
// their rows, none for WMV and ASF, which share the WMA page), listed on the
// left beside the page shown. The pages work on copies of the settings;
// ApplyTo() copies them back.
class COptSheet final : public QDialog {
  Q_OBJECT

 public:
  COptSheet(QWidget* parent, const ConversionSettings& settings, const OptionsServices& services);
  ~COptSheet() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  int CurrentIndex() const;
  OptionsPage& Page(int index) const { return *pages_[static_cast<size_t>(index)]; }
  // Shows page `index` once the current page lets the user leave; false when
  // its leave check kept the user there.
  bool ShowPage(int index);
  // Every page's values into `settings`; pages never shown give back what
  // they were given.
  void ApplyTo(ConversionSettings& settings) const;

  QListWidget* PageList() const { return pageList_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

  // OK: the current page's leave check, then the sheet closes.
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddPage(OptionsPage* page);
  void Display(int index);
  void BuildPage(int index);
  void FixSize();

  std::vector<OptionsPage*> pages_;  // owned by the stack
  QListWidget* pageList_ = nullptr;
  QLabel* title_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace quillo
