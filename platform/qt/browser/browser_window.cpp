#include "platform/qt/browser/browser_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <algorithm>
#include <utility>

#include "i18n/i18n.h"
#include "platform/qt/units.h"

namespace tessaron::qt {

namespace {

constexpr int kEnter = 13;
constexpr int kAnnounceTries = 20;  // the page told of its focus within 2 s, or never
constexpr int kAnnounceStepMs = 100;

QIcon toolbarPicture(QStyle* style, int index) {
  static constexpr QStyle::StandardPixmap kPictures[] = {
      QStyle::SP_ArrowBack,     QStyle::SP_ArrowForward, QStyle::SP_BrowserStop,
      QStyle::SP_BrowserReload, QStyle::SP_DirHomeIcon,  QStyle::SP_FileDialogContentsView};
  return style->standardIcon(kPictures[index - 1]);
}

QRect pixels(Twips left, Twips top, Twips width, Twips height) {
  return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

// The browsers' usual keys for each button, by key.
QList<QKeySequence> keysOf(const std::string& key) {
  if (key == "Back") return {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Back)};
  if (key == "Forward") {
    return {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)};
  }
  if (key == "Stop") return {QKeySequence(Qt::Key_Escape)};
  if (key == "Refresh") return {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)};
  if (key == "Home") return {QKeySequence(Qt::ALT | Qt::Key_Home)};
  return {};
}

// Qt gives a plain top-level widget the role of a client area, which a screen reader takes
// for a filler; the browser's window is a window ("frame"), named by its title.
// Told by its class and name alone: the web engine asks about objects of its own whose
// types carry no run-time type information, where a dynamic_cast would crash.
QAccessibleInterface* browserFactory(const QString& className, QObject* object) {
  if (className != QLatin1String("QWidget") || object->objectName() != "frmBrowser") {
    return nullptr;
  }
  auto* window = static_cast<QWidget*>(object);
  return window->isWindow() ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

}  // namespace

BrowserWindow::BrowserWindow(const std::string& startingAddress)
    : QWidget(nullptr),
      form_(*this),
      toolbar_(new QToolBar(this)),
      panel_(new QWidget(this)),
      label_(new QLabel(panel_)),
      address_(new QComboBox(panel_)),
      view_(new QWebEngineView(this)),
      timer_(new QTimer(this)) {
  static const bool accessible = [] {
    QAccessible::installFactory(browserFactory);
    return true;
  }();
  (void)accessible;
  setObjectName("frmBrowser");
  setAttribute(Qt::WA_DeleteOnClose);
  form_.StartingAddress = startingAddress;

  toolbar_->setIconSize(QSize(24, 24));
  for (int index = 1; index <= static_cast<int>(form_.tbToolBar.Buttons.size()); ++index) {
    const ToolbarButton& button = form_.tbToolBar.button(index);
    QAction* action = toolbar_->addAction(toolbarPicture(style(), button.Image), QString());
    buttons_.push_back(action);
    action->setObjectName(QString::fromStdString("button_" + button.Key));
    action->setToolTip(QString::fromStdString(button.ToolTipText));
    action->setShortcuts(keysOf(button.Key));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, index] {
      fromAddress_ = false;  // an Enter that loaded nothing no longer counts
      form_.tbToolBar_ButtonClick(index);
      sync();
    });
    if (QWidget* shown = toolbar_->widgetForAction(action)) {
      // Pictures only: each named for screen readers, and reached by Tab like any button.
      shown->setAccessibleName(QString::fromStdString(button.ToolTipText));
      shown->setFocusPolicy(Qt::TabFocus);
    }
  }
  // Ctrl+L or Alt+D: the address, selected whole, so that typing replaces it.
  auto* toAddress = new QAction(this);
  toAddress->setObjectName("FocusAddress");
  toAddress->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::ALT | Qt::Key_D)});
  toAddress->setShortcutContext(Qt::WindowShortcut);
  connect(toAddress, &QAction::triggered, this,
          [this] { address_->lineEdit()->setFocus(Qt::ShortcutFocusReason); });
  addAction(toAddress);
  auto* closeKey = new QAction(this);
  closeKey->setObjectName("CloseWindow");
  closeKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  closeKey->setShortcutContext(Qt::WindowShortcut);
  connect(closeKey, &QAction::triggered, this, &QWidget::close);
  addAction(closeKey);

  label_->setText(QString::fromStdString(form_.lblAddress.Caption));
  label_->setBuddy(address_);
  address_->setEditable(true);
  address_->setInsertPolicy(QComboBox::NoInsert);  // the list is the window's to keep
  address_->setObjectName("cboAddress");
  address_->setAccessibleName(QString::fromStdString(i18n("Address")));
  // Reached by its access key, Ctrl+L, Alt+D or Tab, the address is selected whole.
  address_->lineEdit()->installEventFilter(this);
  connect(address_->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.cboAddress.Text = text.toStdString(); });
  connect(address_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    form_.cboAddress.Text = address_->currentText().toStdString();
    fromAddress_ = true;
    form_.cboAddress_KeyPress(kEnter);
    sync();
  });
  connect(address_, &QComboBox::activated, this, [this](int index) {
    fromAddress_ = true;
    form_.selectAddress(index);
    sync();
  });

  timer_->setInterval(form_.timTimer.Interval);
  connect(timer_, &QTimer::timeout, this, [this] {
    form_.timTimer_Timer();
    sync();
  });

  connect(view_, &QWebEngineView::loadStarted, this, [this] {
    busy_ = true;
    form_.updateButtons();
    sync();
  });
  connect(view_, &QWebEngineView::loadFinished, this, [this](bool ok) {
    busy_ = false;
    form_.brwWebBrowser_DownloadComplete();
    sync();
    if (ok) {
      pageToFocus_ = true;
      focusPage();
    }
  });
  // The title can arrive after the load has finished; it completes the download too.
  connect(view_, &QWebEngineView::titleChanged, this, [this] {
    form_.brwWebBrowser_DownloadComplete();
    sync();
  });
  connect(view_, &QWebEngineView::urlChanged, this, [this] {
    form_.brwWebBrowser_NavigateComplete2();
    sync();
  });

  // The toolbar's buttons, then the address, then the page.
  QWidget* previous = nullptr;
  for (QAction* action : buttons_) {
    QWidget* shown = toolbar_->widgetForAction(action);
    if (shown == nullptr) continue;
    if (previous != nullptr) setTabOrder(previous, shown);
    previous = shown;
  }
  if (previous != nullptr) setTabOrder(previous, address_);
  setTabOrder(address_, view_);

  resize(toPixels(frmBrowser::kDesignClientWidth), toPixels(frmBrowser::kDesignClientHeight));
  sync();
}

bool BrowserWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == address_->lineEdit() && event->type() == QEvent::FocusIn) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ShortcutFocusReason || reason == Qt::TabFocusReason ||
        reason == Qt::BacktabFocusReason) {
      // After the line's own handling of the focus, which may put the caret at the end.
      QTimer::singleShot(0, address_->lineEdit(), &QLineEdit::selectAll);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void BrowserWindow::focusPage() {
  if (!pageToFocus_ || !isActiveWindow()) return;
  pageToFocus_ = false;
  QWidget* at = focusWidget();
  const bool inPage = at == nullptr || at == view_ || view_->isAncestorOf(at);
  const bool fromAddress = std::exchange(fromAddress_, false);
  if (!inPage && !fromAddress) return;  // on a button, or the address being typed
  view_->setFocus(Qt::OtherFocusReason);
  announcePage(kAnnounceTries);
}

void BrowserWindow::announcePage(int triesLeft) {
  if (!QAccessible::isActive() || !view_->hasFocus()) return;
  // The engine tells screen readers of a focus that moves inside the page, never of the
  // page itself taking the keyboard; and the widget that holds it is hidden from them (a
  // reader drops it as a dead object), so the reader would stay on the window's title.
  // Told that the page has the focus, a reader names it and reviews it from its first line.
  QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(view_);
  QAccessibleInterface* page =
      shown != nullptr && shown->childCount() > 0 ? shown->child(0) : nullptr;
  const bool focused =
      page != nullptr && page->role() == QAccessible::WebDocument && page->state().focused;
  // The engine first puts an empty document in the loaded page's place: a reader told of
  // that one finds it gone. The page's own is named by its title and holds its content.
  const bool ready =
      focused && page->childCount() > 0 && page->text(QAccessible::Name) == view_->title();
  if (ready || (focused && triesLeft == 0)) {
    QAccessibleEvent focused(page, QAccessible::Focus);
    QAccessible::updateAccessibility(&focused);
  } else if (triesLeft > 0) {
    // The page learns of its focus from the window a moment later, in the engine's time.
    QTimer::singleShot(kAnnounceStepMs, this, [this, triesLeft] { announcePage(triesLeft - 1); });
  }
}

bool BrowserWindow::focusNextPrevChild(bool next) {
  QWidget* at = focusWidget();
  if (at == nullptr || (at != view_ && !view_->isAncestorOf(at))) {
    return QWidget::focusNextPrevChild(next);
  }
  // The page hands the keyboard on past its last link or before its first. Qt's own order
  // would hand it to the widget inside the view that shows the page, which gives it straight
  // back to the page: Tab would never leave it. Past the page come the buttons, before it
  // the address.
  if (next) {
    for (QAction* action : buttons_) {
      QWidget* shown = toolbar_->widgetForAction(action);
      if (shown != nullptr && shown->isEnabled() && shown->isVisible()) {
        shown->setFocus(Qt::TabFocusReason);
        return true;
      }
    }
  }
  address_->lineEdit()->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void BrowserWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // After Qt has given the window's focus back to where it was.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    QTimer::singleShot(0, this, &BrowserWindow::focusPage);
  }
}

Twips BrowserWindow::scaleWidth() const { return toTwips(width()); }
Twips BrowserWindow::scaleHeight() const { return toTwips(height()); }

void BrowserWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (loaded_) return;
  loaded_ = true;
  form_.Form_Load(scaleWidth(), scaleHeight());
  sync();
}

void BrowserWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  toolbar_->setGeometry(0, 0, width(), toPixels(form_.tbToolBar.Height));
  panel_->setGeometry(0, toPixels(form_.picAddress.Top), width(),
                      toPixels(form_.picAddress.Height));
  if (loaded_) {
    form_.Form_Resize(scaleWidth(), scaleHeight());
    sync();
  }
}

bool BrowserWindow::Navigate(const std::string& address) {
  const QUrl url = QUrl::fromUserInput(QString::fromStdString(address));
  if (!url.isValid()) return false;
  // A move to an anchor of the page shown (the support page's search) loads nothing, and
  // the view reports no load's start or end for it: the window is not left waiting.
  const bool samePage = url.hasFragment() && url.adjusted(QUrl::RemoveFragment) ==
                                                 view_->url().adjusted(QUrl::RemoveFragment);
  if (!samePage) busy_ = true;  // until the view reports the load's end
  view_->load(url);
  return true;
}

bool BrowserWindow::CanGoBack() { return view_->history()->canGoBack(); }
bool BrowserWindow::CanGoForward() { return view_->history()->canGoForward(); }
void BrowserWindow::GoBack() { view_->back(); }
void BrowserWindow::GoForward() { view_->forward(); }
void BrowserWindow::Stop() { view_->stop(); }
void BrowserWindow::Refresh() { view_->reload(); }

std::string BrowserWindow::LocationName() { return view_->title().toStdString(); }
std::string BrowserWindow::LocationURL() { return view_->url().toString().toStdString(); }
bool BrowserWindow::Busy() { return busy_; }

void BrowserWindow::sync() {
  const QString caption = QString::fromStdString(form_.Caption);
  if (windowTitle() != caption) setWindowTitle(caption);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->setEnabled(form_.tbToolBar.Buttons[i].Enabled);
  }

  const Label& l = form_.lblAddress;
  label_->setGeometry(pixels(l.Left, l.Top, l.Width, l.Height));
  const ComboBox& box = form_.cboAddress;
  QStringList entries;
  for (const std::string& entry : box.List) entries << QString::fromStdString(entry);
  QStringList shown;
  for (int i = 0; i < address_->count(); ++i) shown << address_->itemText(i);
  if (shown != entries) {
    const QSignalBlocker block(address_);
    address_->clear();
    address_->addItems(entries);
  }
  if (address_->currentIndex() != box.ListIndex && box.ListIndex < address_->count()) {
    const QSignalBlocker block(address_);
    address_->setCurrentIndex(box.ListIndex);
  }
  const QString text = QString::fromStdString(box.Text);
  if (address_->currentText() != text) address_->setEditText(text);
  address_->setGeometry(pixels(box.Left, box.Top, box.Width, box.Height));
  // The address box's own height is the style's; the core keeps its designed one.
  address_->resize(address_->width(),
                   std::max(address_->sizeHint().height(), toPixels(box.Height)));

  const Box& b = form_.brwWebBrowser;
  view_->setGeometry(pixels(b.Left, b.Top, b.Width, b.Height));

  if (form_.timTimer.Enabled != timer_->isActive()) {
    if (form_.timTimer.Enabled) {
      timer_->start();
    } else {
      timer_->stop();
    }
  }
}

}  // namespace tessaron::qt
