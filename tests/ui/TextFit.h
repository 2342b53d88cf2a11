#pragma once

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

namespace quillo::test {

// The text a control shows: a mnemonic's "&" takes no room.
inline QString Shown(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(u'&');
  text.replace(u'\x01', u'&');
  return text;
}

inline QString Describe(const QWidget& w, const QString& text, const QSize& needed) {
  return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
      .arg(QString::fromLatin1(w.metaObject()->className()), text)
      .arg(needed.width())
      .arg(needed.height())
      .arg(w.width())
      .arg(w.height());
}

// The visible controls below `root` whose text does not fit whole: buttons,
// checks, radios, plain labels (a word-wrapped label wraps instead), each
// entry of a drop-down list in its edit field, and the headings and cells of
// a tree view's columns (but those that cut their texts on purpose,
// `elidedColumns`, which show the whole text in a tool tip).
inline QStringList TextsThatDoNotFit(const QWidget& root, const QList<int>& elidedColumns = {}) {
  QStringList problems;
  for (QWidget* w : root.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&root)) continue;
    const QFontMetrics fm = w->fontMetrics();
    if (auto* push = qobject_cast<QPushButton*>(w); push != nullptr && !push->text().isEmpty()) {
      QStyleOptionButton option;
      option.initFrom(push);
      option.text = push->text();
      const QRect room =
          push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
      const QSize needed(fm.horizontalAdvance(Shown(push->text())), fm.height());
      if (room.width() < needed.width() || room.height() < needed.height())
        problems << Describe(*push, push->text(), needed);
    } else if (auto* tool = qobject_cast<QToolButton*>(w);
               tool != nullptr && !tool->text().isEmpty() && tool->arrowType() == Qt::NoArrow) {
      const QSize needed(fm.horizontalAdvance(Shown(tool->text())), fm.height());
      if (tool->width() < needed.width() || tool->height() < needed.height())
        problems << Describe(*tool, tool->text(), needed);
    } else if (qobject_cast<QCheckBox*>(w) != nullptr ||
               qobject_cast<QRadioButton*>(w) != nullptr) {
      const QSize needed = w->sizeHint();
      if (w->width() < needed.width() || w->height() < needed.height())
        problems << Describe(*w, static_cast<QAbstractButton*>(w)->text(), needed);
    } else if (auto* label = qobject_cast<QLabel*>(w);
               label != nullptr && !label->wordWrap() && !label->text().isEmpty() &&
               label->textFormat() != Qt::RichText && !Qt::mightBeRichText(label->text())) {
      const QSize needed = label->sizeHint();
      if (label->width() < needed.width() || label->height() < needed.height())
        problems << Describe(*label, label->text(), needed);
    } else if (auto* box = qobject_cast<QComboBox*>(w); box != nullptr && !box->isEditable()) {
      QStyleOptionComboBox option;
      option.initFrom(box);
      option.editable = false;
      const QRect room = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, box);
      // The box shows the chosen entry; its list widens itself to its entries.
      const QSize needed(fm.horizontalAdvance(box->currentText()), fm.height());
      if (room.width() < needed.width() || room.height() < needed.height())
        problems << Describe(*box, box->currentText(), needed);
    } else if (auto* tree = qobject_cast<QTreeView*>(w)) {
      const QHeaderView* header = tree->header();
      for (int column = 0; column < header->count(); ++column) {
        if (elidedColumns.contains(column)) continue;
        const QString heading =
            tree->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        const int width = header->sectionSize(column);
        const int needed =
            std::max(header->sectionSizeHint(column),
                     static_cast<const QAbstractItemView*>(tree)->sizeHintForColumn(column));
        if (width < needed)
          problems << QStringLiteral("column \"%1\": needs %2, has %3")
                          .arg(heading)
                          .arg(needed)
                          .arg(width);
      }
    }
  }
  return problems;
}

}  // namespace quillo::test
