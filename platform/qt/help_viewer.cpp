#include "platform/qt/help_viewer.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/qt/clock_accessible.h"
#include "platform/qt/text.h"

namespace tessaron::qt {

HelpViewer::HelpViewer() : browser_(new QTextBrowser(this)) {
  installClockAccessibility();  // a window to a screen reader, not a filler
  setObjectName("HelpViewer");
  browser_->setObjectName("HelpText");  // read line by line (see HelpTextAccessible)
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  // Read-only, with a caret: the arrows move through the text and Tab through its links,
  // and a screen reader reads the line or link they reach instead of the whole page.
  browser_->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
  // Read, then put away: Ctrl+W as for a document's window (Esc as for a dialog, below).
  auto* closeKey = new QAction(this);
  closeKey->setObjectName("CloseHelp");
  closeKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  closeKey->setShortcutContext(Qt::WindowShortcut);
  connect(closeKey, &QAction::triggered, this, &QWidget::close);
  addAction(closeKey);
  auto* quitKey = new QAction(this);
  quitKey->setObjectName("Quit");
  quitKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  quitKey->setShortcutContext(Qt::WindowShortcut);
  connect(quitKey, &QAction::triggered, this, [this] {
    if (closeClock_) closeClock_();
  });
  addAction(quitKey);
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
    return qi18n("Cannot open the help file %1: %2", path.toStdString(),
                 file.errorString().toStdString());
  }
  file.close();
  // The files keep their traditional names; their content is HTML.
  browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
  browser_->reload();
  setWindowTitle(browser_->documentTitle());
  // Read from the top, line by line, from the caret's place.
  browser_->moveCursor(QTextCursor::Start);
  browser_->setFocus();
  show();
  raise();
  activateWindow();
  return std::nullopt;
}

}  // namespace tessaron::qt
