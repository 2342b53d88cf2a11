#pragma once

#include <QComboBox>
#include <QProxyStyle>

namespace quillo {

// The platform's style, with tool tips that show after 300 ms and drop-down
// lists that open as a scrolling list of at most 16 entries (a style whose
// lists pop up around the current entry would fill the screen's height with
// a long list, such as the Windows Media formats).
class DesktopStyle final : public QProxyStyle {
 public:
  static constexpr int kVisibleEntries = 16;

  int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                const QWidget* widget = nullptr, QStyleHintReturn* data = nullptr) const override {
    if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 300;
    if (hint == QStyle::SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }

  void polish(QWidget* widget) override {
    if (auto* box = qobject_cast<QComboBox*>(widget)) box->setMaxVisibleItems(kVisibleEntries);
    QProxyStyle::polish(widget);
  }
  using QProxyStyle::polish;
};

}  // namespace quillo
