#include "platform/qt/main_window.h"

#include <QAction>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QProxyStyle>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include "commands/menu.h"
#include "platform/qt/clock_view.h"
#include "platform/qt/icons.h"
#include "platform/qt/units.h"
#include "platform/qt/wall_clock_timer.h"

namespace tessaron::qt {

namespace {
// The menus' style, but for one hint: the keyboard stops on unavailable items too.
class ReachableDisabledItems : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};
}  // namespace

MainWindow::MainWindow(Tessaron& core)
    : core_(core),
      menuBar_(new QMenuBar(this)),
      view_(new ClockView(core, this)),
      timer_(new WallClockTimer(this)) {
  setWindowTitle(QString::fromStdString(core.caption()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menuBar_);
  layout->addWidget(view_);
  buildMenus();
  buildToolbar();
  // Ctrl+Q closes the clock as its close button does.
  auto* quit = new QAction(this);
  quit->setObjectName("Quit");
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  quit->setShortcutContext(Qt::WindowShortcut);
  connect(quit, &QAction::triggered, this, &QWidget::close);
  addAction(quit);
  // F10 opens the first menu, as on the desktops around it.
  auto* menuKey = new QAction(this);
  menuKey->setObjectName("MenuBarKey");
  menuKey->setShortcut(QKeySequence(Qt::Key_F10));
  menuKey->setShortcutContext(Qt::WindowShortcut);
  connect(menuKey, &QAction::triggered, this, [this] {
    if (menuBar_->actions().isEmpty()) return;
    QAction* first = menuBar_->actions().first();
    menuBar_->setActiveAction(first);
    // On its first item, as Alt and the menu's letter open it: read at once.
    if (QMenu* menu = first->menu(); menu != nullptr && !menu->actions().isEmpty()) {
      menu->setActiveAction(menu->actions().first());
    }
  });
  addAction(menuKey);
  view_->setZoneChosen([this](int index) {
    core_.selectZone(1, index);
    sync();
  });
  // The design's client area until start-up sets the outer size.
  view_->setMinimumSize(0, 0);
  resize(toPixels(Tessaron::kDesignClientWidth),
         toPixels(Tessaron::kDesignClientHeight) + menuBar()->sizeHint().height());
  width_ = toTwips(width());
  height_ = toTwips(height());
  // One shot at a time, re-armed from the clock at every tick: a coarse or repeating
  // timer would drift against the wall clock's seconds.
  timer_->setObjectName("Timer1");
  timer_->setHandler([this] { tick(); });
}

void MainWindow::buildMenus() {
  for (const Menu& menu : menuTree()) {
    QMenu* qmenu = menuBar()->addMenu(QString::fromUtf8(translate(kMenuBarContext, menu.caption)));
    // An unavailable item is still reached by the arrow keys, so that its reason is heard.
    auto* style = new ReachableDisabledItems;
    style->setParent(qmenu);
    qmenu->setStyle(style);
    for (const MenuEntry& entry : menu.entries) {
      const MenuItem& item = core_.item(entry.command);
      QAction* action = qmenu->addAction(QString::fromStdString(item.Caption));
      action->setObjectName(QString::fromUtf8(entry.name));
      action->setCheckable(entry.isSwitch);
      if (*entry.shortcut != '\0')
        action->setShortcut(QKeySequence(QString::fromUtf8(entry.shortcut)));
      // Plus shares its key with "=": Ctrl and that key zoom in, with or without Shift.
      if (entry.command == Command::ZoomIn) {
        action->setShortcuts({QKeySequence(QString::fromUtf8(entry.shortcut)),
                              QKeySequence(Qt::CTRL | Qt::Key_Equal)});
      }
      const Command command = entry.command;
      connect(action, &QAction::triggered, this, [this, command] {
        core_.run(command);
        sync();
      });
      menuActions_.push_back({action, entry.command, item.Caption});
    }
  }
}

void MainWindow::buildToolbar() {
  QToolBar* bar = view_->toolbar();
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setIconSize(QSize(20, 20));
  bar->setContentsMargins(0, 0, 0, 0);
  bar->layout()->setSpacing(0);
  bar->layout()->setContentsMargins(0, 0, 0, 0);
  for (int index = 1; index <= static_cast<int>(core_.toolbar().Buttons.size()); ++index) {
    const ToolbarButton& button = core_.toolbar().button(index);
    auto* action = new QAction(toolbarIcon(button.Image), QString(), bar);
    action->setObjectName(QString::fromStdString("button_" + button.Key));
    action->setToolTip(QString::fromStdString(button.ToolTipText));
    // A switch's button shows the core's mark (Qt's own toggle is overwritten at the next
    // sync); a command's is a plain push button. Known before the button is made, so that
    // a screen reader meets it as a switch from the start.
    action->setCheckable(button.Style == ButtonStyle::Check);
    bar->addAction(action);
    connect(action, &QAction::triggered, this, [this, index] {
      core_.clickToolbarButton(index);
      sync();
    });
    if (QWidget* w = bar->widgetForAction(action)) {
      // The buttons show only pictures; a screen reader says what each one does.
      w->setAccessibleName(QString::fromStdString(button.ToolTipText).trimmed());
    }
    buttonActions_.push_back(action);
  }
}

void MainWindow::sync(bool paintNow) {
  // No zone catalogue: the message has been shown and the program ends.
  if (core_.unloaded()) {
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return;
  }
  for (MenuBinding& binding : menuActions_) {
    const MenuItem& item = core_.item(binding.command);
    if (binding.shownCaption != item.Caption) {
      binding.shownCaption = item.Caption;
      binding.action->setText(QString::fromStdString(item.Caption));
    }
    if (binding.action->isCheckable() && binding.action->isChecked() != item.Checked) {
      binding.action->setChecked(item.Checked);
    }
    if (binding.action->isEnabled() != item.Enabled) binding.action->setEnabled(item.Enabled);
    const QString description = QString::fromStdString(item.Description);
    if (binding.action->statusTip() != description) binding.action->setStatusTip(description);
  }
  for (std::size_t i = 0; i < buttonActions_.size(); ++i) {
    const ToolbarButton& button = core_.toolbar().Buttons[i];
    if (buttonActions_[i]->isEnabled() != button.Enabled) {
      buttonActions_[i]->setEnabled(button.Enabled);
      buttonActions_[i]->setToolTip(QString::fromStdString(button.ToolTipText));
    }
    const bool pressed = button.Value != 0;
    if (buttonActions_[i]->isCheckable() && buttonActions_[i]->isChecked() != pressed) {
      buttonActions_[i]->setChecked(pressed);
    }
  }
  if (!zoomShown_ || faceScale_ != core_.zoom() / 100.0 * fontScale_) applyZoom();
  if (shownTitle_ != core_.caption()) {
    shownTitle_ = core_.caption();
    setWindowTitle(QString::fromStdString(core_.caption()));
  }
  view_->sync(paintNow);
  // The core chose when its next tick is due (a tick, or a command that shows the seconds).
  if (armedSettings_ != core_.timerSettings()) {
    armedSettings_ = core_.timerSettings();
    timer_->start(core_.timerInterval());
  }
}

double MainWindow::fontScale() const {
  // The clock was drawn for a 12 px (9 pt) face: a larger application font draws the whole
  // clock larger in proportion, so the zone list and label hold their text and nothing is
  // cut. Pixel sizes, as the font and the screen's text resolution make them.
  QFont reference = font();
  reference.setPixelSize(12);
  return std::max(1.0, QFontMetricsF(font()).height() / QFontMetricsF(reference).height());
}

int MainWindow::designMenuHeight() const {
  return static_cast<int>(std::lround(menuBar_->sizeHint().height() / fontScale_));
}

void MainWindow::applyZoom() {
  fontScale_ = fontScale();
  faceScale_ = core_.zoom() / 100.0 * fontScale_;
  zoomShown_ = true;
  view_->setScales(faceScale_, core_.zoom() / 100.0);
  QToolBar* bar = view_->toolbar();
  bar->setIconSize(QSize(20, 20) * faceScale_);
  const int buttonWidth = toPixels(core_.toolbar().ButtonWidth * faceScale_);
  for (QAction* action : buttonActions_) {
    if (QWidget* w = bar->widgetForAction(action)) w->setFixedWidth(buttonWidth);
  }
  applySize();
}

// A first tick at once: the interval from start-up's reading would be late by the time the
// window took to show.
void MainWindow::startClock() { tick(); }

void MainWindow::tick() {
  core_.Timer1_Timer();
  sync(true);
}

QSize MainWindow::frameExtra() const {
  const QRect frame = frameGeometry();
  return QSize(frame.width() - width(), frame.height() - height());
}

QSize MainWindow::clientSize(Twips outerWidth, Twips outerHeight) const {
  return clientSize(outerWidth, outerHeight, faceScale_, designMenuHeight());
}

QSize MainWindow::clientSize(Twips outerWidth, Twips outerHeight, double faceScale,
                             int designMenu) const {
  // The design's outer size holds the frame, the menu bar and the view; only the view
  // grows with the zoom.
  const QSize extra = frameExtra();
  const int menu = menuBar_->sizeHint().height();
  const int view = std::max(0, toPixels(outerHeight) - extra.height() - designMenu);
  return QSize(std::max(1, static_cast<int>(
                               std::lround((toPixels(outerWidth) - extra.width()) * faceScale))),
               std::max(1, menu + static_cast<int>(std::lround(view * faceScale))));
}

WindowSize MainWindow::sizeAt(int zoomPercent) const {
  // The font's scale as it is now: the core asks before the first layout, and after a
  // change of font before the next.
  const double scale = fontScale();
  const int designMenu = static_cast<int>(std::lround(menuBar_->sizeHint().height() / scale));
  const QSize size =
      clientSize(width_, height_, zoomPercent / 100.0 * scale, designMenu) + frameExtra();
  return {toTwips(size.width()), toTwips(size.height())};
}

void MainWindow::watchScreen(QScreen* screen) {
  disconnect(screenArea_);
  if (screen != nullptr) {
    screenArea_ =
        connect(screen, &QScreen::availableGeometryChanged, this, &MainWindow::screenChanged);
  }
}

void MainWindow::screenChanged() {
  core_.screenChanged();
  sync();
}

Twips MainWindow::designLength(int outerPixels, int extraPixels, int unzoomedPixels,
                               int designPixels) const {
  // The inverse of clientSize for a size the window has: frame and menu kept, view unzoomed.
  return toTwips(
      extraPixels + designPixels +
      static_cast<int>(std::lround((outerPixels - extraPixels - unzoomedPixels) / faceScale_)));
}

void MainWindow::applySize() {
  appliedExtra_ = frameExtra();
  // Its size follows the arrangement, the seconds and the zoom: not the mouse, nor a
  // maximise button.
  setFixedSize(clientSize(width_, height_));
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The window manager's frame is known only once the window is mapped.
  QTimer::singleShot(0, this, [this] {
    applySize();
    move(toPixels(left_), toPixels(top_));
    if (QWindow* w = windowHandle(); w != nullptr && !screenWatched_) {
      screenWatched_ = true;
      connect(w, &QWindow::screenChanged, this, [this](QScreen* screen) {
        watchScreen(screen);
        screenChanged();
      });
      watchScreen(w->screen());
    }
    // With its frame known, the window's size at each zoom is.
    core_.windowShown();
    sync();
  });
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // A new application font (the desktop's settings changed) lays the clock out afresh.
  if (event->type() == QEvent::FontChange && zoomShown_) {
    zoomShown_ = false;
    core_.screenChanged();
    sync();
  }
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // The window manager's frame arrives after mapping, with a move; keep the outer size.
  if (isVisible() && frameExtra() != appliedExtra_) {
    applySize();
    screenChanged();
  }
}

Twips MainWindow::outerLeft() const {
  const int x = frameGeometry().x();
  return x == toPixels(left_) ? left_ : toTwips(x);
}
Twips MainWindow::outerTop() const {
  const int y = frameGeometry().y();
  return y == toPixels(top_) ? top_ : toTwips(y);
}
Twips MainWindow::outerWidth() const {
  const int w = frameGeometry().width();
  const QSize extra = frameExtra();
  return w == clientSize(width_, height_).width() + extra.width()
             ? width_
             : designLength(w, extra.width(), 0, 0);
}
Twips MainWindow::outerHeight() const {
  const int h = frameGeometry().height();
  const QSize extra = frameExtra();
  return h == clientSize(width_, height_).height() + extra.height()
             ? height_
             : designLength(h, extra.height(), menuBar_->sizeHint().height(), designMenuHeight());
}

void MainWindow::setOuterLeft(Twips twips) {
  left_ = twips;
  move(toPixels(left_), frameGeometry().y());
}
void MainWindow::setOuterTop(Twips twips) {
  top_ = twips;
  move(frameGeometry().x(), toPixels(top_));
}
void MainWindow::setOuterWidth(Twips twips) {
  width_ = twips;
  applySize();
}
void MainWindow::setOuterHeight(Twips twips) {
  height_ = twips;
  applySize();
}

void MainWindow::setTopmost(bool topmost) {
  // Changing window flags re-creates the native window; the stacking hint alone does not.
  if (QWindow* w = windowHandle()) {
    w->setFlag(Qt::WindowStaysOnTopHint, topmost);
  } else {
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  }
}

}  // namespace tessaron::qt
