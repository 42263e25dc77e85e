// About and Support in the real window, zoomed and with a large font: drawn at the clock's
// scale, in its font's size, wholly on the screen and clear of its dots.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "tests/qt/scripted_window.h"

namespace tessaron::qt {
namespace {

struct Case {
  const char* name;
  double points;  // the application font
  int zoomIns;    // Ctrl+Plus from 100 %: 3 is 200 %
  int zoom;
};

class FormsAtScale : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    QFont font = saved_;
    font.setPointSizeF(GetParam().points);
    QApplication::setFont(font);
  }
  void TearDown() override { QApplication::setFont(saved_); }
  QFont saved_ = QApplication::font();
};

TEST_P(FormsAtScale, AboutAndSupportAreWhollyOnTheScreenClearOfTheDotsInTheClocksSize) {
  const Case& c = GetParam();
  ScriptedWindow w;
  for (int i = 0; i < c.zoomIns; ++i) w.run(Command::ZoomIn);
  ASSERT_EQ(w.core.zoom(), c.zoom);
  ASSERT_TRUE(waitUntil([&] { return w.window.isVisible(); }));
  QApplication::processEvents();
  const QRect screen = w.window.screen()->availableGeometry();
  ClockView* view = w.window.clockView();
  const QRect dots(view->mapToGlobal(view->dotsRect().topLeft()), view->dotsRect().size());
  ASSERT_TRUE(screen.contains(w.window.frameGeometry())) << "the clock itself fits";

  for (const Command command : {Command::About, Command::Support}) {
    SCOPED_TRACE(command == Command::About ? "About" : "Support");
    QRect shown;
    double labelPoints = 0;
    bool labelsFit = true;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      shown = dialog->frameGeometry();
      for (QLabel* label : dialog->findChildren<QLabel*>()) {
        labelPoints = std::max(labelPoints, label->font().pointSizeF());
        if (label->fontMetrics().horizontalAdvance(label->text()) > label->width())
          labelsFit = false;
      }
      dialog->close();
    });
    w.run(command);
    EXPECT_TRUE(screen.contains(shown))
        << "at " << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
    EXPECT_FALSE(shown.intersects(dots)) << "over the dots";
    EXPECT_TRUE(labelsFit);
    // The clock's text is the application font at the zoom; the form's the same, but for
    // the half points a fit may take off.
    EXPECT_NEAR(labelPoints, c.points * c.zoom / 100.0, 1.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, FormsAtScale,
                         ::testing::Values(Case{"at200", 9, 3, 200}, Case{"at18pt", 18, 0, 100},
                                           Case{"at150and18pt", 18, 2, 150}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessaron::qt
