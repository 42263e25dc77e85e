// Large application fonts (a desktop's font settings): the zone selector, its lists and the
// zone label hold their whole text, the clock growing with the font.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>

#include "tests/qt/scripted_window.h"

namespace tessaron::qt::large_font_test {
namespace {

class LargeFont : public ::testing::TestWithParam<double> {
 protected:
  void SetUp() override {
    QFont font = saved_;
    font.setPointSizeF(GetParam());
    QApplication::setFont(font);
  }
  void TearDown() override { QApplication::setFont(saved_); }

 private:
  QFont saved_ = QApplication::font();
};

// Whether every item of `view` fits its popup's width.
void expectItemsFit(QAbstractItemView* view, const char* what) {
  SCOPED_TRACE(what);
  const QFontMetrics metrics(view->font());
  int widest = 0;
  QString widestText;
  for (int row = 0; row < view->model()->rowCount(); ++row) {
    const QString text = view->model()->index(row, 0).data().toString();
    if (metrics.horizontalAdvance(text) > widest) {
      widest = metrics.horizontalAdvance(text);
      widestText = text;
    }
  }
  ASSERT_GT(widest, 0);
  EXPECT_LE(widest, view->viewport()->width()) << widestText.toStdString();
}

TEST_P(LargeFont, TheZoneSelectorItsListsAndTheLabelHoldTheirText) {
  ScriptedWindow w;
  const int narrowAt9pt = 237;  // the window's width at the design's face, in pixels
  w.run(Command::AltTimeZone);
  QComboBox* selector = w.window.clockView()->zoneSelector();
  ASSERT_NE(selector, nullptr);
  ASSERT_TRUE(selector->isVisible());
  // The field as tall as its text, with a zone's whole name, in the application's font.
  const QFontMetrics field(selector->lineEdit()->font());
  EXPECT_GE(field.height(), QFontMetrics(QApplication::font()).height());
  EXPECT_GE(selector->lineEdit()->height(), field.height());
  EXPECT_LE(field.horizontalAdvance("(UTC+09:00) Asia/Tokyo"), selector->lineEdit()->width());

  selector->showPopup();
  expectItemsFit(selector->view(), "the list");
  selector->hidePopup();

  // Typed: the found zones in the completer's list.
  selector->lineEdit()->setText("america");
  emit selector->lineEdit()->textEdited("america");
  QCompleter* completer = selector->lineEdit()->completer();
  completer->complete();
  expectItemsFit(completer->popup(), "the found zones");
  completer->popup()->hide();

  // Chosen: the label's offset whole.
  selector->setEditText("");
  emit selector->activated(selector->findText("(UTC+09:00) Asia/Tokyo"));
  w.window.sync();
  const QRect label = w.window.clockView()->zoneLabelRect();
  const QFontMetrics ink(selector->font());
  EXPECT_LE(ink.horizontalAdvance(w.window.clockView()->zoneLabelText()), label.width());
  EXPECT_LE(ink.height(), label.height());
  // Wider with the font; at the design's face as designed.
  if (GetParam() > 9) {
    EXPECT_GT(w.window.clockView()->width(), narrowAt9pt);
  }
}

INSTANTIATE_TEST_SUITE_P(Points, LargeFont, ::testing::Values(9.0, 18.0, 24.0),
                         [](const auto& info) {
                           return std::to_string(static_cast<int>(info.param)) + "pt";
                         });

// The desktop's font changes while the clock runs: the clock is drawn afresh at the new
// size at once, as at a start with that font.
TEST(FontChange, ARunningClockGrowsAndShrinksWithTheApplicationFont) {
  const QFont saved = QApplication::font();
  const auto setPoints = [&](double points) {
    QFont font = saved;
    font.setPointSizeF(points);
    QApplication::setFont(font);
    QApplication::processEvents();
  };
  setPoints(9);
  ScriptedWindow w;
  QApplication::processEvents();
  const QSize small = w.window.size();
  setPoints(18);
  EXPECT_GT(w.window.width(), small.width() * 3 / 2);
  EXPECT_GT(w.window.height(), small.height() * 3 / 2);
  {
    ScriptedWindow started;  // a clock started with the larger font
    QApplication::processEvents();
    EXPECT_EQ(w.window.size(), started.window.size());
  }
  setPoints(9);
  EXPECT_EQ(w.window.size(), small);
  QApplication::setFont(saved);
}

}  // namespace
}  // namespace tessaron::qt::large_font_test
