#pragma once

class QMouseEvent;
class QWidget;

namespace quillo {

// A left-button press on a window's background starts moving the window, as
// a press on its caption would. True when it did (the event is then handled).
bool StartWindowDrag(QWidget& window, QMouseEvent& event);

}  // namespace quillo
