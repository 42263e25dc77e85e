// The Qt side's wiring, on Qt's offscreen platform: menus and toolbar reach the core and
// show its state, and the clock view repaints only what a tick changed.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QEventLoop>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "platform/qt/clock_view.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/units.h"
#include "platform/qt/wall_clock_timer.h"
#include "tests/civil_time.h"
#include "tests/qt/silent_platform.h"
#include "timezones/alternate_zone.h"

namespace tessaron::qt::view_test {
namespace {

class ScriptedPlatform : public SilentPlatform {
 public:
  TimeOfDay time{12, 34, 30};
  QTemporaryDir folder;  // no preferences file, whatever lies beside the test
  ClockReading clockNow() override {
    const ZoneTime local = makeTime<ZoneTime>({2026, 12, 10, time.hour, time.minute, time.second});
    return {UtcTime{local.time_since_epoch()}, local, 0};
  }
  ZoneTime localNow() override {
    return makeTime<ZoneTime>({2026, 12, 10, time.hour, time.minute, time.second});
  }
  ProgramInfo programInfo() override {
    ProgramInfo info = QtPlatform::programInfo();
    info.dataFolder = info.settingsFolder = info.userFolder = folder.path().toStdString();
    return info;
  }
};

class PaintRecorder : public QObject {
 public:
  int paints = 0;
  QRegion region;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      region += static_cast<QPaintEvent*>(event)->region();
    }
    return false;
  }
  void reset() {
    paints = 0;
    region = QRegion();
  }
};

// Lets pending exposes and repaints through, so a count afterwards sees only new work.
void settle() {
  QEventLoop loop;
  QTimer::singleShot(30, &loop, &QEventLoop::quit);
  loop.exec();
}

struct QtWindow : ::testing::Test {
  ScriptedPlatform platform;
  Tessaron core{platform};
  MainWindow window{core};
  PaintRecorder recorder;

  void SetUp() override {
    platform.attach(&window);
    core.Form_Load();
    window.sync();
    window.show();
    window.clockView()->installEventFilter(&recorder);
    tick();
  }
  void TearDown() override { platform.attach(nullptr); }

  void tick() {
    core.Timer1_Timer();
    window.sync();
    settle();
  }
  QAction* action(const char* name) { return window.findChild<QAction*>(name); }
};

TEST_F(QtWindow, ATickThatChangesNothingPaintsNothing) {
  settle();
  recorder.reset();
  const int requests = window.clockView()->repaintRequests();
  platform.time = {12, 34, 31};  // seconds hidden: nothing on screen changes
  tick();
  EXPECT_EQ(window.clockView()->repaintRequests(), requests);
  EXPECT_EQ(recorder.paints, 0) << recorder.region.boundingRect().x() << ","
                                << recorder.region.boundingRect().y() << " "
                                << recorder.region.boundingRect().width() << "x"
                                << recorder.region.boundingRect().height();
}

TEST_F(QtWindow, ATickRepaintsOnlyTheDotsThatChanged) {
  core.Seconds_Click();
  window.sync();
  tick();
  recorder.reset();
  platform.time = {12, 34, 31};  // only the seconds' last dots change
  tick();
  ASSERT_GT(recorder.paints, 0);
  const int secondsStart = toPixels(core.dotLayout().dots()[11].Left) - 2;
  EXPECT_GE(recorder.region.boundingRect().left(), secondsStart);
}

// The tick timer's wake-up paints the dots itself: a repaint left to the event loop would
// wake the clock a second time each second, and land later.
TEST_F(QtWindow, TheTickTimerPaintsTheNewSecondBeforeReturning) {
  core.Seconds_Click();
  window.sync();
  tick();
  recorder.reset();
  platform.time = {12, 34, 31};
  window.findChild<WallClockTimer*>("Timer1")->report(WallClockTimer::Report::Expired);
  EXPECT_EQ(recorder.paints, 1);
  settle();
  EXPECT_EQ(recorder.paints, 1);
}

// What the ticks left in the window, each repainting only its changed dots, is what a
// repaint of the whole view draws: no dot is left out of a tick's repaint, or half drawn,
// at any zoom or arrangement.
TEST_F(QtWindow, TicksLeaveTheSamePixelsAsAWholeRepaint) {
  struct Case {
    const char* name;
    Command zoom;  // once, or ZoomReset for the normal size
    bool columns;
  };
  const Case cases[] = {{"row at 100 %", Command::ZoomReset, false},
                        {"row at 125 %", Command::ZoomIn, false},
                        {"columns at 150 %", Command::ZoomIn, true}};
  core.Seconds_Click();
  window.sync();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    core.run(c.zoom);
    if (core.commandBar().item(Command::Vertical).Checked != c.columns) core.Vertical_Click();
    window.sync();
    settle();
    // Across a minute's turn: the hour and minute dots are redrawn as well.
    for (const TimeOfDay& t : {TimeOfDay{12, 34, 58}, TimeOfDay{12, 34, 59}, TimeOfDay{12, 35, 0},
                               TimeOfDay{12, 35, 1}}) {
      platform.time = t;
      window.findChild<WallClockTimer*>("Timer1")->report(WallClockTimer::Report::Expired);
    }
    settle();
    ClockView* view = window.clockView();
    const auto* shown = dynamic_cast<QImage*>(window.backingStore()->paintDevice());
    ASSERT_NE(shown, nullptr);
    const qreal scale = shown->devicePixelRatio();
    const QRect dots = view->dotsRect().translated(view->mapTo(&window, QPoint(0, 0)));
    const QImage incremental = shown->copy(QRect(dots.topLeft() * scale, dots.size() * scale))
                                   .convertToFormat(QImage::Format_RGB32);
    const QImage whole =
        view->grab(view->dotsRect()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(incremental.size(), whole.size());
    EXPECT_TRUE(incremental == whole);
  }
}

TEST_F(QtWindow, MenuAndToolbarShowTheCoresState) {
  struct Case {
    const char* menuAction;
    const char* buttonAction;
  };
  const Case cases[] = {
      {"Seconds", "button_Seconds"}, {"Numbers", "button_Numbers"}, {"Always", "button_Always"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.menuAction);
    QAction* item = action(c.menuAction);
    QAction* button = action(c.buttonAction);
    ASSERT_NE(item, nullptr);
    ASSERT_NE(button, nullptr);
    button->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(button->isChecked());
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(button->isChecked());
  }
}

TEST_F(QtWindow, TheZoneListIsMadeWhenFirstShownAndAPickReachesTheCore) {
  EXPECT_EQ(window.clockView()->zoneSelector(), nullptr);
  action("AltTimeZone")->trigger();
  QComboBox* list = window.clockView()->zoneSelector();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->isVisible());
  ASSERT_EQ(list->count(), static_cast<int>(core.alternateZone().lists()[1].List.size()));
  ASSERT_GT(list->count(), 1);
  const int pick = list->currentIndex() == 0 ? 1 : 0;
  emit list->activated(pick);
  EXPECT_EQ(core.alternateZone().lists()[1].ListIndex, pick);
  EXPECT_FALSE(list->isVisible());
  EXPECT_TRUE(core.alternateZone().label().Visible);
  EXPECT_EQ(core.alternateZone().label().Caption.front(), '(');
}

TEST_F(QtWindow, SwitchButtonsFollowTheMenuAndCommandButtonsArePlain) {
  action("Vertical")->trigger();  // as Ctrl+V does
  EXPECT_TRUE(core.commandBar().item(Command::Vertical).Checked);
  EXPECT_TRUE(action("button_Vertical")->isChecked());
  action("Vertical")->trigger();
  EXPECT_FALSE(action("button_Vertical")->isChecked());
  for (const char* name : {"button_On", "button_Off", "button_Transparent", "button_Preferences"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(action(name)->isCheckable());
  }
  action("button_Transparent")->trigger();
  EXPECT_FALSE(action("button_Transparent")->isChecked());
}

TEST_F(QtWindow, ShortcutsAndCaptionsComeFromTheMenuTree) {
  EXPECT_EQ(action("Seconds")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(action("Vertical")->shortcut(), QKeySequence("Ctrl+V"));
  EXPECT_EQ(action("Music")->text(), "&Music");  // start-up has run the music switch
  EXPECT_EQ(action("button_Always")->toolTip(), "Keep window on top ");
  EXPECT_EQ(window.windowTitle(), "Tessaron");
}

TEST_F(QtWindow, HoveringTheDotsShowsTheReadoutAndElsewhereNothing) {
  ClockView* view = window.clockView();
  const QRect dots = view->dotsRect();
  ASSERT_FALSE(dots.isEmpty());
  EXPECT_EQ(view->readoutText(), "12:34\n2026-12-10\nLocal time");
  QHelpEvent onDots(QEvent::ToolTip, dots.center(), view->mapToGlobal(dots.center()));
  QApplication::sendEvent(view, &onDots);
  EXPECT_EQ(QToolTip::text(), view->readoutText());
  core.Seconds_Click();
  window.sync();
  platform.time = {12, 34, 31};
  tick();  // the readout follows the dots while it is open
  EXPECT_EQ(QToolTip::text(), "12:34:31\n2026-12-10\nLocal time");
  const QPoint below(dots.center().x(), view->height() - 2);
  QHelpEvent elsewhere(QEvent::ToolTip, below, view->mapToGlobal(below));
  QApplication::sendEvent(view, &elsewhere);
  QEventLoop fade;  // a tooltip goes after a short fade
  QTimer::singleShot(600, &fade, &QEventLoop::quit);
  fade.exec();
  EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(QtWindow, EveryToolbarButtonIsNamedByWhatItDoes) {
  QToolBar* bar = window.clockView()->toolbar();
  for (const ToolbarButton& button : core.commandBar().toolbar().Buttons) {
    SCOPED_TRACE(button.Key);
    QWidget* widget = bar->widgetForAction(action(("button_" + button.Key).c_str()));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->accessibleName(), QString::fromStdString(button.ToolTipText).trimmed());
  }
}

TEST_F(QtWindow, ArrowsBrowseTheZoneListEnterChoosesAndTheClockGetsTheKeyboardBack) {
  action("AltTimeZone")->trigger();
  QComboBox* list = window.clockView()->zoneSelector();
  ASSERT_NE(list, nullptr);
  const int start = list->currentIndex();
  ASSERT_LT(start + 2, list->count());
  for (int i = 0; i < 2; ++i) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list->lineEdit(), &down);
  }
  EXPECT_EQ(list->currentIndex(), start + 2);
  EXPECT_EQ(core.alternateZone().lists()[1].ListIndex, start) << "browsing chooses nothing";
  EXPECT_TRUE(list->isVisible());
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(list->lineEdit(), &enter);
  EXPECT_EQ(core.alternateZone().lists()[1].ListIndex, start + 2);
  EXPECT_FALSE(list->isVisible());
  EXPECT_FALSE(list->lineEdit()->hasFocus());
}

// What the search field lists after `typed` is typed into its empty text: each line, with
// whether it can be chosen.
std::vector<std::pair<QString, bool>> typeIntoZoneSearch(QComboBox* list, const char* typed) {
  list->lineEdit()->clear();
  for (const char* c = typed; *c != '\0'; ++c) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(*c)));
    QApplication::sendEvent(list->lineEdit(), &key);
  }
  const QAbstractItemModel* model = list->lineEdit()->completer()->model();
  std::vector<std::pair<QString, bool>> lines;
  for (int row = 0; row < model->rowCount(); ++row) {
    const QModelIndex index = model->index(row, 0);
    lines.emplace_back(index.data().toString(), (index.flags() & Qt::ItemIsEnabled) != 0);
  }
  return lines;
}

TEST_F(QtWindow, TypingListsTheZonesThatHoldTheTextWordStartsFirst) {
  action("AltTimeZone")->trigger();
  QComboBox* list = window.clockView()->zoneSelector();
  ASSERT_NE(list, nullptr);
  const auto found = typeIntoZoneSearch(list, "tok");
  EXPECT_EQ(list->lineEdit()->text(), "tok");
  ASSERT_FALSE(found.empty());
  EXPECT_TRUE(found.front().first.endsWith("Asia/Tokyo")) << found.front().first.toStdString();
  for (const auto& [zone, choosable] : found) {
    // By its name, or by its country's: Pacific/Fakaofo is Tokelau's.
    EXPECT_TRUE(zone.contains("tok", Qt::CaseInsensitive) || zone.endsWith("Pacific/Fakaofo"))
        << zone.toStdString();
    EXPECT_TRUE(choosable);
  }
}

// Enter after typing chooses the first zone listed, whether the found zones have the
// keyboard or the text does (their list closed).
void enterChoosesTheFirstFound(QComboBox* list, const Tessaron& core, bool fromTheList) {
  const auto found = typeIntoZoneSearch(list, "an");
  ASSERT_GT(found.size(), 2u);
  QWidget* popup = list->lineEdit()->completer()->popup();
  ASSERT_TRUE(popup->isVisible());
  if (!fromTheList) popup->hide();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(fromTheList ? popup : static_cast<QWidget*>(list->lineEdit()), &enter);
  const int chosen = core.alternateZone().lists()[1].ListIndex;
  ASSERT_GE(chosen, 0);
  EXPECT_EQ(list->itemText(chosen), found.front().first);
}

TEST_F(QtWindow, EnterOnTheFoundZonesChoosesTheFirst) {
  action("AltTimeZone")->trigger();
  ASSERT_NE(window.clockView()->zoneSelector(), nullptr);
  enterChoosesTheFirstFound(window.clockView()->zoneSelector(), core, true);
}

TEST_F(QtWindow, EnterInTheTypedTextChoosesTheFirstZoneThatHoldsIt) {
  action("AltTimeZone")->trigger();
  ASSERT_NE(window.clockView()->zoneSelector(), nullptr);
  enterChoosesTheFirstFound(window.clockView()->zoneSelector(), core, false);
}

TEST_F(QtWindow, ATextThatNoZoneHoldsSaysSoAndEnterChoosesNothing) {
  action("AltTimeZone")->trigger();
  QComboBox* list = window.clockView()->zoneSelector();
  ASSERT_NE(list, nullptr);
  const int before = core.alternateZone().lists()[1].ListIndex;
  const auto found = typeIntoZoneSearch(list, "qqxz");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found.front().first, "no zone matches");
  EXPECT_FALSE(found.front().second);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(list->lineEdit(), &enter);
  EXPECT_EQ(core.alternateZone().lists()[1].ListIndex, before);
  EXPECT_TRUE(list->isVisible());
}

TEST_F(QtWindow, HoveringTheZoneLabelNamesTheZone) {
  action("AltTimeZone")->trigger();
  QComboBox* list = window.clockView()->zoneSelector();
  ASSERT_NE(list, nullptr);
  emit list->activated(list->findText("(UTC+09:00) Asia/Tokyo", Qt::MatchEndsWith));
  window.sync();
  ClockView* view = window.clockView();
  ASSERT_TRUE(view->zoneLabelShown());
  EXPECT_EQ(view->zoneLabelText(), "(UTC+09:00)");
  const QPoint at = view->zoneLabelRect().center();
  QHelpEvent hover(QEvent::ToolTip, at, view->mapToGlobal(at));
  QApplication::sendEvent(view, &hover);
  EXPECT_EQ(QToolTip::text(), "(UTC+09:00) Asia/Tokyo");
}

// How far the dot's edge stands out from the background: the largest channel difference
// along a line across the dot's left rim, in the view's picture.
int rimContrast(ClockView* view, const Shape& dot) {
  const QImage picture = view->grab().toImage();
  const double ratio = picture.devicePixelRatio();
  const QColor background = view->palette().color(QPalette::Window);
  const int y = static_cast<int>((dot.Top + dot.Height / 2).toPixels() * ratio);
  const int left = static_cast<int>(dot.Left.toPixels() * ratio);
  int most = 0;
  for (int x = left - 2; x <= left + 3; ++x) {
    const QColor c = picture.pixelColor(x, y);
    most = std::max({most, std::abs(c.red() - background.red()),
                     std::abs(c.green() - background.green()),
                     std::abs(c.blue() - background.blue())});
  }
  return most;
}

TEST_F(QtWindow, UnlitDotsKeepAVisibleEdgeOnABackgroundOfNearlyTheirColour) {
  QPalette dark = window.clockView()->palette();
  dark.setColor(QPalette::Window, QColor(24, 24, 24));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  window.clockView()->setPalette(dark);
  const Shape& unlit = core.dotLayout().dots()[0];  // hour 16 at 12:34: off, black
  ASSERT_TRUE(unlit.Visible);
  ASSERT_EQ(unlit.FillColor, 0);
  EXPECT_GE(rimContrast(window.clockView(), unlit), 40);
  core.Transparent_Click();  // the background's own colour: meant to vanish
  window.sync();
  EXPECT_LE(rimContrast(window.clockView(), core.dotLayout().dots()[0]), 2);
}

TEST_F(QtWindow, CtrlQClosesTheClock) {
  QAction* quit = action("Quit");
  ASSERT_NE(quit, nullptr);
  EXPECT_EQ(quit->shortcut(), QKeySequence("Ctrl+Q"));
  quit->trigger();
  EXPECT_FALSE(window.isVisible());
}

TEST_F(QtWindow, TheColourChooserIsTitledByItsColourAndStandsBesideTheClock) {
  struct Case {
    const char* name;
    const char* command;
    const char* title;
    bool atRightEdge;  // the clock against the screen's right edge
  };
  const Case cases[] = {{"on colour, room on the right", "On", "On Color", false},
                        {"off colour, no room on the right", "Off", "Off Color", true}};
  const QRect screen = window.screen()->availableGeometry();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int left = c.atRightEdge ? screen.right() + 1 - window.frameGeometry().width() : 0;
    platform.setWindowLeft(toTwips(left));
    platform.setWindowTop(toTwips(screen.top() + 40));
    settle();
    QString title;
    QRect box;
    QTimer::singleShot(50, [&] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        title = dialog->windowTitle();
        box = dialog->frameGeometry();
        static_cast<QDialog*>(dialog)->reject();
      }
    });
    action(c.command)->trigger();
    EXPECT_EQ(title, c.title);
    EXPECT_FALSE(box.intersects(window.frameGeometry()))
        << box.x() << "," << box.y() << " over the clock at " << window.frameGeometry().x();
  }
}

TEST_F(QtWindow, OuterGeometryIsTheOneTheCoreSet) {
  EXPECT_EQ(platform.windowWidth(), core.dotLayout().widthWithoutSeconds());
  EXPECT_EQ(platform.windowHeight(), 2000_tw);
  platform.setWindowLeft(1234_tw);
  EXPECT_EQ(platform.windowLeft(), 1234_tw);  // exact while the window stays where it was put
}

}  // namespace
}  // namespace tessaron::qt::view_test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
