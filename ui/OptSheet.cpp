#include "ui/OptSheet.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "catalog/Catalog.h"
#include "settings/ConversionSettings.h"
#include "ui/AMROptPage.h"
#include "ui/AWBOptPage.h"
#include "ui/AccessibleNames.h"
#include "ui/OptGeneralPage.h"
#include "ui/PageOptAudio.h"
#include "ui/PageOptID3.h"
#include "ui/PageWMAOptions.h"
#include "ui/Translate.h"
#include "ui/UiScale.h"

namespace quillo {

namespace {

// General, Output and ID3 come first.
constexpr int kSharedPages = 3;

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
      return HasOwnCodecSettings(row) ? new CPageOptAudio(row, settings) : nullptr;
  }
}

}  // namespace

COptSheet::COptSheet(QWidget* parent, const ConversionSettings& settings,
                     const OptionsServices& services)
    : QDialog(parent) {
  InstallAccessibility();
  setWindowTitle(Tr("Options"));
  setModal(true);

  // The list comes first and the buttons last in the keyboard's order.
  pageList_ = new QListWidget(this);
  pageList_->setObjectName(QStringLiteral("pageList"));
  pageList_->setAccessibleName(Tr("Pages"));
  title_ = new QLabel(this);
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
  title_->setFont(titleFont);
  stack_ = new QStackedWidget;
  ok_ = new QPushButton(Tr("OK"), this);
  cancel_ = new QPushButton(Tr("Cancel"), this);
  // OK is the default whichever button had the focus last.
  ok_->setDefault(true);
  cancel_->setAutoDefault(false);
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
  // On a screen too small for the sheet, the page scrolls rather than
  // squeezing its texts.
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(true);
  scroll_->setWidget(stack_);
  pageArea->addWidget(scroll_, 1);
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
  FixSize();
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

void COptSheet::BuildPage(int index) {
  OptionsPage& page = Page(index);
  if (page.IsBuilt()) return;
  page.EnsureBuilt();
  NameControls(&page);
  // Some desktop themes let Return press a focused check box or radio, as
  // Space does; in this sheet Return stays what it is everywhere else: OK.
  for (QAbstractButton* button : page.findChildren<QAbstractButton*>())
    if (qobject_cast<QCheckBox*>(button) != nullptr ||
        qobject_cast<QRadioButton*>(button) != nullptr)
      button->installEventFilter(this);
  // Controls made now would follow the buttons in the keyboard's order.
  QWidget* last = nullptr;
  for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
    if (page.isAncestorOf(w)) last = w;
  if (last != nullptr) {
    setTabOrder(last, ok_);
    setTabOrder(ok_, cancel_);
  }
}

void COptSheet::FixSize() {
  // The shared pages are the largest; they are built now (building asks
  // nothing and changes no value) so that the sheet has one size, whichever
  // page it opens on. The encoding pages hold one group and fit in it.
  for (int i = 0; i < std::min(kSharedPages, PageCount()); ++i) BuildPage(i);
  // Every page name shows without scrolling where the screen allows.
  const int names = pageList_->sizeHintForRow(0) * PageCount() + 2 * pageList_->frameWidth();
  pageList_->setMinimumHeight(names);
  scroll_->setMinimumSize(stack_->sizeHint().expandedTo(stack_->minimumSizeHint()));
  // The pages' layouts are new: the sheet's must see their sizes now.
  for (OptionsPage* page : pages_)
    if (page->IsBuilt() && page->layout() != nullptr) page->layout()->activate();
  stack_->layout()->invalidate();
  layout()->invalidate();
  QSize size = sizeHint().expandedTo(minimumSizeHint());
  pageList_->setMinimumHeight(0);
  scroll_->setMinimumSize(0, 0);
  // The window manager's frame takes some room around the sheet.
  if (const QScreen* screen =
          parentWidget() != nullptr ? parentWidget()->screen() : this->screen()) {
    const QSize room = screen->availableGeometry().size() - QSize(Scaled(16), Scaled(48));
    size = size.boundedTo(room);
  }
  setFixedSize(size);
}

void COptSheet::Display(int index) {
  OptionsPage& page = Page(index);
  BuildPage(index);
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

bool COptSheet::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* press = static_cast<QKeyEvent*>(event);
    if ((press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter) &&
        (press->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      ok_->click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void COptSheet::accept() {
  if (!Page(CurrentIndex()).Leave()) return;
  QDialog::accept();
}

}  // namespace quillo
