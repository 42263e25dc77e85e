#include "platform/qt/browser/browser_window.h"

#include <QAction>
#include <QComboBox>
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

#include "platform/qt/units.h"

namespace tessaron::qt {

namespace {

constexpr int kEnter = 13;

QIcon toolbarPicture(QStyle* style, int index) {
  static constexpr QStyle::StandardPixmap kPictures[] = {
      QStyle::SP_ArrowBack,     QStyle::SP_ArrowForward, QStyle::SP_BrowserStop,
      QStyle::SP_BrowserReload, QStyle::SP_DirHomeIcon,  QStyle::SP_FileDialogContentsView};
  return style->standardIcon(kPictures[index - 1]);
}

QRect pixels(double left, double top, double width, double height) {
  return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
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
    connect(action, &QAction::triggered, this, [this, index] {
      form_.tbToolBar_ButtonClick(index);
      sync();
    });
  }

  label_->setText(QString::fromStdString(form_.lblAddress.Caption));
  label_->setBuddy(address_);
  address_->setEditable(true);
  address_->setInsertPolicy(QComboBox::NoInsert);  // the list is the window's to keep
  address_->setObjectName("cboAddress");
  connect(address_->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.cboAddress.Text = text.toStdString(); });
  connect(address_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    form_.cboAddress.Text = address_->currentText().toStdString();
    form_.cboAddress_KeyPress(kEnter);
    sync();
  });
  connect(address_, &QComboBox::activated, this, [this](int index) {
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
  connect(view_, &QWebEngineView::loadFinished, this, [this] {
    busy_ = false;
    form_.brwWebBrowser_DownloadComplete();
    sync();
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

  resize(toPixels(frmBrowser::kDesignClientWidth), toPixels(frmBrowser::kDesignClientHeight));
  sync();
}

double BrowserWindow::scaleWidth() const { return toTwips(width()); }
double BrowserWindow::scaleHeight() const { return toTwips(height()); }

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
