#include "ui/OptSheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "catalog/Catalog.h"
#include "settings/ConversionSettings.h"
#include "ui/AMROptPage.h"
#include "ui/AWBOptPage.h"
#include "ui/OptGeneralPage.h"
#include "ui/PageOptAudio.h"
#include "ui/PageOptID3.h"
#include "ui/PageWMAOptions.h"

namespace quillo {

namespace {

// The page a catalog row adds, or null for a row that shares another's.
OptionsPage* EncodingPage(const OutputFormat& row, const ConversionSettings& settings,
                          const OptionsServices& services) {
  switch (row.formatId) {
    case format_id::kAmr:
      return new CAMROptPage(settings);
    case format_id::kAwb:
      return new CAWBOptPage(settings);
    case format_id::kWma:
      return new CPageWMAOptions(settings, services.windowsMedia, services.prompts);
    default:
      return HasOwnCodecSettings(row) ? new CPageOptAudio(row) : nullptr;
  }
}

}  // namespace

COptSheet::COptSheet(QWidget* parent, const ConversionSettings& settings,
                     const OptionsServices& services)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Options"));
  setModal(true);

  // The list comes first and the buttons last in the keyboard's order.
  pageList_ = new QListWidget(this);
  pageList_->setObjectName(QStringLiteral("pageList"));
  title_ = new QLabel(this);
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
  title_->setFont(titleFont);
  stack_ = new QStackedWidget(this);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &COptSheet::accept);
  connect(cancel_, &QPushButton::clicked, this, &COptSheet::reject);

  AddPage(new COptGeneralPage(settings, services.prompts));
  AddPage(new COptOutputPage(settings, services.prompts, services.shell, services.chooseFolder));
  AddPage(new CPageOptID3(settings, services.prompts));
  for (const OutputFormat& row : settings.formats)
    if (OptionsPage* page = EncodingPage(row, settings, services)) AddPage(page);

  int widest = 0;
  for (OptionsPage* page : pages_)
    widest = std::max(widest, pageList_->fontMetrics().horizontalAdvance(page->Caption()));
  pageList_->setFixedWidth(widest + 40);

  auto* pageArea = new QVBoxLayout;
  pageArea->addWidget(title_);
  pageArea->addWidget(stack_, 1);
  auto* body = new QHBoxLayout;
  body->addWidget(pageList_);
  body->addLayout(pageArea, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);

  // A stored page the sheet does not have opens the first.
  const int start = settings.optStartPageIndex;
  Display(start >= 0 && start < PageCount() ? start : 0);
  connect(pageList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && row != CurrentIndex() && !ShowPage(row)) {
      const QSignalBlocker blocker(pageList_);
      pageList_->setCurrentRow(CurrentIndex());
    }
  });
}

COptSheet::~COptSheet() = default;

void COptSheet::AddPage(OptionsPage* page) {
  pages_.push_back(page);
  stack_->addWidget(page);
  pageList_->addItem(page->Caption());
}

int COptSheet::CurrentIndex() const { return stack_->currentIndex(); }

void COptSheet::Display(int index) {
  OptionsPage& page = Page(index);
  if (!page.IsBuilt()) {
    page.EnsureBuilt();
    // Controls made now would follow the buttons in the keyboard's order.
    QWidget* last = nullptr;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
      if (page.isAncestorOf(w)) last = w;
    if (last != nullptr) {
      setTabOrder(last, ok_);
      setTabOrder(ok_, cancel_);
    }
  }
  stack_->setCurrentIndex(index);
  title_->setText(page.Caption());
  const QSignalBlocker blocker(pageList_);
  pageList_->setCurrentRow(index);
}

bool COptSheet::ShowPage(int index) {
  if (index < 0 || index >= PageCount()) return false;
  if (index == CurrentIndex()) return true;
  if (!Page(CurrentIndex()).Leave()) return false;
  Display(index);
  return true;
}

void COptSheet::ApplyTo(ConversionSettings& settings) const {
  for (const OptionsPage* page : pages_) page->Apply(settings);
}

void COptSheet::accept() {
  if (!Page(CurrentIndex()).Leave()) return;
  QDialog::accept();
}

}  // namespace quillo
