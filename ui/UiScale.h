#pragma once

#include <QRect>

namespace quillo {

// The window's sizes are given for Qt's default font, 9 pt at 96 dpi. On a
// desktop with a larger font (or a font dpi above 96) every size grows by
// the same factor, so that texts keep their room and the arrangement stays.
// A screen scale factor (Qt's high-DPI scaling) needs nothing here: Qt
// scales logical pixels itself. Read when controls are made, never cached,
// so that a font set before a window is built counts.
double UiScale();

// `pixels` of the reference font in the current font, rounded.
int Scaled(int pixels);
QRect Scaled(const QRect& place);

}  // namespace quillo
