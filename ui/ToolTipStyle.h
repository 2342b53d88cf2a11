#pragma once

#include <QProxyStyle>

namespace quillo {

// The platform's style, with tool tips that show after 300 ms.
class ToolTipStyle final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                const QWidget* widget = nullptr, QStyleHintReturn* data = nullptr) const override {
    if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 300;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

}  // namespace quillo
