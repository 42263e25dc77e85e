#pragma once
// The help viewer: one plain window that shows a help file (HTML) from its start,
// beside the clock and without blocking it. A caret walks its text line by line and link
// by link, so a screen reader reads what it passes; Esc or Ctrl+W puts it away.

#include <QWidget>
#include <functional>
#include <optional>

class QTextBrowser;

namespace tessaron::qt {

class HelpViewer : public QWidget {
 public:
  HelpViewer();

  // Shows the file at its contents; the description of the error when it cannot be read.
  std::optional<QString> open(const QString& path);
  QTextBrowser* browser() const { return browser_; }
  // What Ctrl+Q does here: closes the clock, as it does in the clock's window.
  void setCloseClock(std::function<void()> closeClock) { closeClock_ = std::move(closeClock); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_;
  std::function<void()> closeClock_;
};

}  // namespace tessaron::qt
