#include "platform/qt/help_viewer.h"

#include <QFile>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/qt/clock_accessible.h"

namespace tessaron::qt {

HelpViewer::HelpViewer() : browser_(new QTextBrowser(this)) {
  installClockAccessibility();  // a window to a screen reader, not a filler
  setObjectName("HelpViewer");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  resize(560, 480);
  connect(browser_, &QTextBrowser::sourceChanged, this,
          [this] { setWindowTitle(browser_->documentTitle()); });
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
  // Read, then put away: Esc closes the viewer as it closes a dialog.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

std::optional<QString> HelpViewer::open(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return QStringLiteral("Cannot open the help file %1: %2").arg(path, file.errorString());
  }
  file.close();
  // The files keep their traditional names; their content is HTML.
  browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
  browser_->reload();
  setWindowTitle(browser_->documentTitle());
  show();
  raise();
  activateWindow();
  return std::nullopt;
}

}  // namespace tessaron::qt
