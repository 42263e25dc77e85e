#pragma once
// Twips (the core's unit) against Qt's logical pixels; Qt scales those for HiDPI.

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QRectF>
#include <algorithm>
#include <cmath>

#include "platform/platform.h"

namespace tessaron::qt {

constexpr double kTwipsPerPixel = Twips::kPerPixel;

// Whole logical pixels. Clamped so that a position from a damaged file cannot overflow
// Qt's coordinates.
inline int toPixels(Twips twips) {
  const double pixels = std::clamp(twips.toPixels(), -1e6, 1e6);
  return static_cast<int>(std::lround(std::isnan(pixels) ? 0.0 : pixels));
}
inline Twips toTwips(int pixels) { return Twips::fromPixels(pixels); }

// A box in twips as the painter takes it once scaled to twips.
inline QRectF twipsRect(Twips left, Twips top, Twips width, Twips height) {
  return QRectF(left.count(), top.count(), width.count(), height.count());
}

// The pixel rectangle that covers a box given in twips, for partial repaints.
inline QRect pixelCover(Twips left, Twips top, Twips width, Twips height) {
  const int x0 = static_cast<int>(std::floor(left.toPixels())) - 1;
  const int y0 = static_cast<int>(std::floor(top.toPixels())) - 1;
  const int x1 = static_cast<int>(std::ceil((left + width).toPixels())) + 1;
  const int y1 = static_cast<int>(std::ceil((top + height).toPixels())) + 1;
  return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

// A colour value: RGB, or a system colour reference resolved through the palette.
inline QColor toQColor(Colour colour, const QPalette& palette) {
  if (colour < 0) {
    switch (colour & 0xFF) {
      case 0x05:
        return palette.color(QPalette::Base);
      case 0x08:
        return palette.color(QPalette::WindowText);
      case 0x12:
        return palette.color(QPalette::ButtonText);
      default:
        return palette.color(QPalette::Window);  // 0x0F, the window face, and the rest
    }
  }
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

inline Colour fromQColor(const QColor& colour) {
  return rgb(colour.red(), colour.green(), colour.blue());
}

}  // namespace tessaron::qt
