// The desktop side of the Help menu on Qt's offscreen platform: message box titles, the
// help viewer, and forms drawn and closed as the core asks.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <string>
#include <vector>

#include "commands/dialogs.h"
#include "platform/qt/form_dialog.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/units.h"
#include "tests/qt/scripted_window.h"
#include "tests/qt/silent_platform.h"

namespace tessaron::qt {
namespace {

// Runs `inspect` on the modal dialog that the next call opens, then lets it close.
template <typename Dialog>
void whenModalOpens(std::function<void(Dialog*)> inspect) {
  QTimer::singleShot(0, [inspect] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    inspect(dialog);
    dialog->close();
  });
}

TEST(QtMessageBox, AnEmptyTitleShowsTheApplicationsTitle) {
  struct Case {
    const char* name;
    std::string title;
    MessageStyle style;
    QString shownTitle;
    QMessageBox::Icon icon;
  };
  const Case cases[] = {
      {"no title", "", MessageStyle::Plain, "Tessa", QMessageBox::NoIcon},
      {"the clock's caption", "Tessaron", MessageStyle::Information, "Tessaron",
       QMessageBox::Information},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SilentPlatform platform;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    whenModalOpens<QMessageBox>([&](QMessageBox* box) {
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
    });
    platform.messageBox("Unable to display Help.", c.style, c.title);
    EXPECT_EQ(title, c.shownTitle);
    EXPECT_EQ(text, "Unable to display Help.");
    EXPECT_EQ(icon, c.icon);
  }
}

TEST(QtHelpViewer, ShowsEachHelpFileAndReportsOneItCannotRead) {
  SilentPlatform platform;
  const std::string shortcuts = std::string(TESSARON_DATA_DIR) + "/TSShortcut.hlp";
  EXPECT_EQ(platform.showHelp(shortcuts), std::nullopt);
  HelpViewer* viewer = platform.helpViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_FALSE(viewer->isModal());
  EXPECT_EQ(viewer->windowTitle(), "Tessaron Short Cut Keys");
  EXPECT_TRUE(viewer->browser()->toPlainText().contains("Ctrl+M"));

  // The same viewer takes the next file.
  EXPECT_EQ(platform.showHelp(std::string(TESSARON_DATA_DIR) + "/Tessa.hlp"), std::nullopt);
  EXPECT_EQ(platform.helpViewer(), viewer);
  EXPECT_EQ(viewer->windowTitle(), "Tessaron Help");

  QTemporaryDir folder;
  const std::string unreadable = folder.path().toStdString();  // a folder, not a file
  const auto error = platform.showHelp(unreadable);
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find(unreadable), std::string::npos) << *error;
}

TEST(QtHelpViewer, EscClosesItFromItsText) {
  QtPlatform platform;
  ASSERT_EQ(platform.showHelp(std::string(TESSARON_DATA_DIR) + "/Tessa.hlp"), std::nullopt);
  HelpViewer* viewer = platform.helpViewer();
  QKeyEvent shiftEsc(QEvent::KeyPress, Qt::Key_Escape, Qt::ShiftModifier);
  QApplication::sendEvent(viewer->browser(), &shiftEsc);
  EXPECT_TRUE(viewer->isVisible()) << "only a plain Esc closes it";
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(viewer->browser(), &esc);
  EXPECT_FALSE(viewer->isVisible());
  EXPECT_EQ(platform.showHelp(std::string(TESSARON_DATA_DIR) + "/Tessa.hlp"), std::nullopt);
  EXPECT_TRUE(viewer->isVisible()) << "and the next Help opens it again";
}

TEST(QtForms, AFormStandsWhereTheCorePlacedItWithItsControls) {
  frmTSSupport support;
  support.form.Left = 1500_tw;
  support.form.Top = 3000_tw;
  support.form.Width = 5542_tw;
  std::vector<std::string> clicks;
  FormDialog dialog(support.form, 0, nullptr,
                    [&](const std::string& button) { clicks.push_back(button); });
  EXPECT_EQ(dialog.windowTitle(), "Tessaron Support");
  EXPECT_EQ(dialog.size(), QSize(toPixels(5542_tw), toPixels(2700_tw)));
  EXPECT_EQ(dialog.pos(), QPoint(100, 200));
  for (const FormControl& c : support.form.Controls) {
    SCOPED_TRACE(c.Name);
    auto* widget = dialog.findChild<QWidget*>(QString::fromStdString(c.Name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(),
              QRect(toPixels(c.Left), toPixels(c.Top), toPixels(c.Width), toPixels(c.Height)));
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->text().toStdString(), c.Caption);
      EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), widget->width())
          << "the whole text fits its box";
    }
  }
  dialog.findChild<QPushButton*>("WebSupport")->click();
  EXPECT_EQ(clicks, std::vector<std::string>{"WebSupport"});
  // Enter and Return press the button that has the keyboard.
  for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(dialog.findChild<QPushButton*>("WebSupport"), &press);
  }
  EXPECT_EQ(clicks, (std::vector<std::string>{"WebSupport", "WebSupport", "WebSupport"}));
}

TEST(QtForms, ClosingFromAButtonEndsTheModalStateBeforeTheHandlerGoesOn) {
  SilentPlatform platform;
  frmTSSupport support;
  std::vector<std::string> steps;
  QTimer::singleShot(0, [] {
    auto* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QPushButton*>("WebSupport")->click();
  });
  platform.showModalForm(support.form, [&](const std::string&) {
    platform.closeModalForm();
    steps.push_back(QApplication::activeModalWidget() == nullptr ? "closed" : "still modal");
  });
  steps.push_back("returned");
  EXPECT_EQ(steps, (std::vector<std::string>{"closed", "returned"}));
}

// About and Support in the real window, zoomed and with a large font (on a 1280 x 1024
// screen, which has room for them beside the clock at 200 %): drawn at the clock's scale, in
// its font's size, wholly on the screen and clear of its dots.
struct Case {
  const char* name;
  double points;  // the application font
  int zoomIns;    // Ctrl+Plus from 100 %: 3 is 200 %
  int zoom;
};

// The largest text of a form's labels as drawn at the normal size with a 9 pt font: the
// form's text may be smaller than the font, to fit the boxes it was laid out with.
double normalPoints(const Form& form) {
  const QFont saved = QApplication::font();
  QFont nine = saved;
  nine.setPointSizeF(9);
  QApplication::setFont(nine);
  double points = 0;
  {
    FormDialog dialog(form, 0, nullptr, [](const std::string&) {});
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      points = std::max(points, label->font().pointSizeF());
    }
  }
  QApplication::setFont(saved);
  return points;
}

class FormsAtScale : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    aboutPoints_ = normalPoints(frmAbout().form);
    supportPoints_ = normalPoints(frmTSSupport().form);
    QFont font = saved_;
    font.setPointSizeF(GetParam().points);
    QApplication::setFont(font);
  }
  void TearDown() override { QApplication::setFont(saved_); }
  QFont saved_ = QApplication::font();
  double aboutPoints_ = 0, supportPoints_ = 0;
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
    // As many times its normal size as the clock's text is (the font's size, then the
    // zoom), to the half point a fit steps by.
    const double normal = command == Command::About ? aboutPoints_ : supportPoints_;
    EXPECT_NEAR(labelPoints, normal * c.points / 9 * c.zoom / 100.0, 0.5);
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, FormsAtScale,
                         ::testing::Values(Case{"at200", 9, 3, 200}, Case{"at18pt", 18, 0, 100},
                                           Case{"at150and18pt", 18, 2, 150}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessaron::qt

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
