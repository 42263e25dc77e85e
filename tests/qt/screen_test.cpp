// What the user sees, read from pixels: the window's backing store (what is on screen)
// against a fresh paint of the same state after each change, each dot's painted size and
// place, the labels' ink, and the toolbar pictures' strokes on light and dark palettes.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QToolBar>
#include <cmath>
#include <functional>
#include <numbers>

#include "commands/command_bar.h"
#include "layout/dot_layout.h"
#include "platform/qt/icons.h"
#include "platform/qt/units.h"
#include "tests/qt/scripted_window.h"
#include "timezones/alternate_zone.h"

namespace tessaron::qt::screen_test {
namespace {

QImage asRgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// The clock view as the screen shows it: what the partial repaints left in the backing store.
QImage onScreen(ScriptedWindow& w) {
  QWidget* view = w.window.clockView();
  const QPoint at = view->mapTo(&w.window, QPoint(0, 0));
  return asRgb(view->screen()
                   ->grabWindow(w.window.winId(), at.x(), at.y(), view->width(), view->height())
                   .toImage());
}

// The clock view painted whole, now.
QImage freshPaint(ScriptedWindow& w) { return asRgb(w.window.clockView()->grab().toImage()); }

int differingPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  }
  return n;
}

void chooseTokyo(ScriptedWindow& w) {
  QComboBox* list = w.window.clockView()->zoneSelector();
  ASSERT_NE(list, nullptr);
  emit list->activated(list->findText("(UTC+09:00) Asia/Tokyo", Qt::MatchEndsWith));
  w.window.sync();
}

TEST(Screen, AfterEachChangeTheScreenMatchesAFreshPaint) {
  using Step = std::function<void(ScriptedWindow&)>;
  auto run = [](Command c) { return [c](ScriptedWindow& w) { w.run(c); }; };
  auto at = [](int h, int m, int s) {
    return [=](ScriptedWindow& w) {
      w.platform.at(h, m, s);
      w.tick();
    };
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;  // the screen is compared after each
  };
  const Case cases[] = {
      {"hint numbers shown then hidden", {run(Command::Numbers), run(Command::Numbers)}},
      {"seconds shown then hidden", {run(Command::Seconds), run(Command::Seconds)}},
      {"the hour turning with hints shown", {run(Command::Numbers), at(12, 59, 59), at(13, 0, 0)}},
      {"the columns and back to the row", {run(Command::Vertical), run(Command::Vertical)}},
      {"a zone label shown then hidden",
       {run(Command::AltTimeZone), chooseTokyo, run(Command::AltTimeZone)}},
      {"transparent unlit dots", {run(Command::Transparent), at(12, 34, 31)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedWindow w;
    // The window takes its fixed size and paints whole first: a later change then repaints
    // only what it asks for, as on a desktop.
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    ASSERT_TRUE(waitUntil([&] { return differingPixels(onScreen(w), freshPaint(w)) == 0; }));
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("after step " + std::to_string(i + 1));
      c.steps[i](w);
      // Repaints are asked for, not done at once: the screen has until the deadline.
      waitUntil([&] { return differingPixels(onScreen(w), freshPaint(w)) == 0; }, 1000);
      EXPECT_EQ(differingPixels(onScreen(w), freshPaint(w)), 0);
    }
  }
}

// How much of each pixel in `box` is `ink` rather than `background` [0:1], summed.
double inkArea(const QImage& image, const QRect& box, const QColor& ink, const QColor& background,
               QPointF* centre = nullptr) {
  const double dr = ink.red() - background.red(), dg = ink.green() - background.green(),
               db = ink.blue() - background.blue();
  const double norm = dr * dr + dg * dg + db * db;
  double area = 0, sx = 0, sy = 0;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      if (!image.rect().contains(x, y)) continue;
      const QColor c = image.pixelColor(x, y);
      const double t = ((c.red() - background.red()) * dr + (c.green() - background.green()) * dg +
                        (c.blue() - background.blue()) * db) /
                       norm;
      const double share = std::clamp(t, 0.0, 1.0);
      area += share;
      sx += share * (x + 0.5);
      sy += share * (y + 0.5);
    }
  }
  if (centre != nullptr && area > 0) *centre = QPointF(sx / area, sy / area);
  return area;
}

TEST(Screen, EachDotIsACircleOfItsBoxsSmallerSideCentredInIt) {
  for (const Command layout : {Command::Seconds, Command::Vertical}) {
    ScriptedWindow w;
    w.run(layout);
    const QImage picture = freshPaint(w);
    const QColor background = w.window.clockView()->palette().color(QPalette::Window);
    for (const Shape& dot : w.core.dotLayout().dots()) {
      if (!dot.Visible) continue;
      SCOPED_TRACE(std::to_string(dot.Left.count()) + "," + std::to_string(dot.Top.count()));
      const QColor fill = toQColor(dot.FillColor, w.window.clockView()->palette());
      QPointF centre;
      // The box's own pixels: a neighbour may start at the next one.
      const QRect box(QPoint(static_cast<int>(std::floor(dot.Left.toPixels())),
                             static_cast<int>(std::floor(dot.Top.toPixels()))),
                      QPoint(static_cast<int>(std::ceil((dot.Left + dot.Width).toPixels())) - 1,
                             static_cast<int>(std::ceil((dot.Top + dot.Height).toPixels())) - 1));
      const double area = inkArea(picture, box, fill, background, &centre);
      const double radius = (std::min(dot.Width, dot.Height) / 2).toPixels();
      EXPECT_NEAR(area, std::numbers::pi * radius * radius, 0.04 * area);
      EXPECT_NEAR(centre.x(), (dot.Left + dot.Width / 2).toPixels(), 0.3);
      EXPECT_NEAR(centre.y(), (dot.Top + dot.Height / 2).toPixels(), 0.3);
    }
  }
}

TEST(Screen, DotsShowTheChosenColours) {
  const QColor on(10, 200, 30), off(200, 40, 90);
  ScriptedWindow w;
  w.platform.chosenColour = rgb(on.red(), on.green(), on.blue());
  w.run(Command::On);
  w.platform.chosenColour = rgb(off.red(), off.green(), off.blue());
  w.run(Command::Off);
  const QImage picture = freshPaint(w);
  int lit = 0, unlit = 0;
  for (const Shape& dot : w.core.dotLayout().dots()) {
    if (!dot.Visible) continue;
    const bool isLit = dot.FillColor == rgb(on.red(), on.green(), on.blue());
    (isLit ? lit : unlit)++;
    const QPoint centre(static_cast<int>((dot.Left + dot.Width / 2).toPixels()),
                        static_cast<int>((dot.Top + dot.Height / 2).toPixels()));
    EXPECT_EQ(picture.pixelColor(centre), isLit ? on : off) << dot.Left << "," << dot.Top;
  }
  // 12:34:30 has both.
  EXPECT_GT(lit, 0);
  EXPECT_GT(unlit, 0);
}

TEST(Screen, LabelsAreDrawnInTheirOwnColour) {
  ScriptedWindow w;
  w.run(Command::Numbers);
  w.run(Command::AltTimeZone);
  chooseTokyo(w);
  const QImage picture = freshPaint(w);
  const QPalette& palette = w.window.clockView()->palette();
  const QColor background = palette.color(QPalette::Window);
  std::vector<std::pair<std::string, const Label*>> labels = {
      {"zone label", &w.core.alternateZone().label()}};
  for (const Label& hint : w.core.dotLayout().hints()) {
    if (hint.Visible && !hint.Caption.empty()) labels.emplace_back("hint " + hint.Caption, &hint);
  }
  ASSERT_GT(labels.size(), 1u);
  for (const auto& [name, label] : labels) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(label->Visible);
    const QColor ink = toQColor(label->ForeColor, palette);
    ASSERT_NE(ink, background);
    // A few pixels' worth of strokes per character at the least.
    EXPECT_GE(inkArea(picture, pixelCover(label->Left, label->Top, label->Width, label->Height),
                      ink, background),
              3.0 * static_cast<double>(label->Caption.size()));
  }
}

// How many pixels of `icon`, drawn on `background`, are within a small distance of `ink`.
int pixelsNear(const QIcon& icon, const QColor& ink, const QColor& background) {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(background);
  QPainter painter(&image);
  icon.paint(&painter, image.rect());
  painter.end();
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      n += std::abs(c.red() - ink.red()) + std::abs(c.green() - ink.green()) +
               std::abs(c.blue() - ink.blue()) <
           60;
    }
  }
  return n;
}

TEST(Screen, ToolbarPicturesAreStrokedInTheButtonTextColour) {
  struct Case {
    const char* name;
    QColor window;
    QColor text;
  };
  // Text colours no picture uses for its own fills.
  const Case cases[] = {{"light palette", QColor(0xef, 0xef, 0xef), QColor(0x10, 0x20, 0xa0)},
                        {"dark palette", QColor(0x20, 0x20, 0x20), QColor(0xf0, 0xe0, 0x60)}};
  const QPalette saved = QApplication::palette();
  ScriptedWindow w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QPalette palette(saved);
    palette.setColor(QPalette::Window, c.window);
    palette.setColor(QPalette::Button, c.window);
    palette.setColor(QPalette::WindowText, c.text);
    palette.setColor(QPalette::ButtonText, c.text);
    QApplication::setPalette(palette);
    for (const ToolbarButton& button : w.core.commandBar().toolbar().Buttons) {
      SCOPED_TRACE(button.Key);
      auto* action = w.window.findChild<QAction*>(QString::fromStdString("button_" + button.Key));
      ASSERT_NE(action, nullptr);
      EXPECT_GE(pixelsNear(action->icon(), c.text, c.window), 12);
    }
  }
  QApplication::setPalette(saved);
}

TEST(Screen, TheOnColourPictureShowsALitColourAndTheOffColourPictureNone) {
  ScriptedWindow w;
  const auto redPixels = [&](const char* key) {
    const QIcon icon = w.window.findChild<QAction*>(key)->icon();
    return pixelsNear(icon, QColor(0xe0, 0x20, 0x20), Qt::white);
  };
  EXPECT_GE(redPixels("button_On"), 100);
  EXPECT_EQ(redPixels("button_Off"), 0);
}

}  // namespace
}  // namespace tessaron::qt::screen_test
