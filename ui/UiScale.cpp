#include "ui/UiScale.h"

#include <QApplication>
#include <QFont>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace quillo {

namespace {
constexpr double kReferencePoints = 9.0;
constexpr double kReferenceDpi = 96.0;
constexpr double kReferencePixels = 12.0;  // 9 pt at 96 dpi
}  // namespace

double UiScale() {
  const QFont font = QApplication::font();
  double scale = 1.0;
  if (font.pointSizeF() > 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : kReferenceDpi;
    scale = font.pointSizeF() * dpi / (kReferencePoints * kReferenceDpi);
  } else if (font.pixelSize() > 0) {
    scale = font.pixelSize() / kReferencePixels;
  }
  // A smaller font keeps the design's sizes: they are its minimum.
  return std::max(1.0, scale);
}

int Scaled(int pixels) { return static_cast<int>(std::lround(pixels * UiScale())); }

QRect Scaled(const QRect& place) {
  const double scale = UiScale();
  const auto s = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
  return {s(place.x()), s(place.y()), s(place.width()), s(place.height())};
}

}  // namespace quillo
