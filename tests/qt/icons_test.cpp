// The toolbar's pictures: each one stands out from a light and from a dark palette, and
// a screen of scale 2 gets a picture drawn at twice the pixels, not an enlarged one.

#include "platform/qt/icons.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include "commands/menu.h"

namespace tessaron::qt::icons_test {
namespace {

// Every key of the picture list has its picture.
constexpr int kPictures = static_cast<int>(kImageKeys.size());

// The share of the picture's pixels that differ clearly from the background.
double contrastingShare(const QIcon& icon, int size, const QColor& background) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(background);
  QPainter painter(&image);
  painter.drawPixmap(0, 0, icon.pixmap(QSize(size, size), 1.0));
  painter.end();
  int contrasting = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const QColor c = image.pixelColor(x, y);
      const int difference = std::abs(c.red() - background.red()) +
                             std::abs(c.green() - background.green()) +
                             std::abs(c.blue() - background.blue());
      if (difference > 200) ++contrasting;
    }
  }
  return static_cast<double>(contrasting) / (size * size);
}

TEST(ToolbarIcons, EveryPictureStandsOutOnLightAndDarkPalettes) {
  struct Case {
    const char* name;
    QColor window;
    QColor text;
  };
  const Case cases[] = {
      {"light palette", QColor(0xef, 0xef, 0xef), QColor(0, 0, 0)},
      {"dark palette", QColor(0x2a, 0x2a, 0x2a), QColor(0xf0, 0xf0, 0xf0)},
  };
  const QPalette saved = QApplication::palette();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QPalette palette(saved);
    palette.setColor(QPalette::Window, c.window);
    palette.setColor(QPalette::WindowText, c.text);
    QApplication::setPalette(palette);
    for (int index = 1; index <= kPictures; ++index) {
      for (int size : {20, 40}) {
        SCOPED_TRACE("picture " + std::to_string(index) + " at " + std::to_string(size));
        EXPECT_GE(contrastingShare(toolbarIcon(index), size, c.window), 0.15);
      }
    }
  }
  QApplication::setPalette(saved);
}

TEST(ToolbarIcons, ScaleTwoDrawsEveryPictureAtTwiceThePixels) {
  for (int index = 1; index <= kPictures; ++index) {
    SCOPED_TRACE(index);
    const QPixmap pixmap = toolbarIcon(index).pixmap(QSize(20, 20), 2.0);
    EXPECT_EQ(pixmap.size(), QSize(40, 40));
    EXPECT_EQ(pixmap.devicePixelRatio(), 2.0);
  }
  EXPECT_TRUE(toolbarIcon(0).isNull());
  EXPECT_TRUE(toolbarIcon(kPictures + 1).isNull());
}

// The window system takes the program's icon in the sizes it is offered: the small ones a
// taskbar shows, each drawn whole, and none so large that drawing it needs worker threads.
TEST(ToolbarIcons, TheProgramIconIsOfferedInTheSizesTaskbarsShow) {
  const QIcon icon = toolbarIcon(1);
  const QList<QSize> sizes = icon.availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
  for (const QSize& size : sizes) {
    SCOPED_TRACE(size.width());
    EXPECT_LE(size.width(), 64);
    EXPECT_EQ(icon.pixmap(size, 1.0).size(), size);
    EXPECT_GE(contrastingShare(icon, size.width(), QColor(0xef, 0xef, 0xef)), 0.15);
  }
}

}  // namespace
}  // namespace tessaron::qt::icons_test
