#include "ui/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace quillo {

bool StartWindowDrag(QWidget& window, QMouseEvent& event) {
  if (event.button() != Qt::LeftButton || window.windowHandle() == nullptr) return false;
  window.windowHandle()->startSystemMove();
  event.accept();
  return true;
}

}  // namespace quillo
