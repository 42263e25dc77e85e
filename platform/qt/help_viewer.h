#pragma once
// The help viewer: one plain window that shows a help file (HTML) from its start,
// beside the clock and without blocking it.

#include <QWidget>
#include <optional>

class QTextBrowser;

namespace tessaron::qt {

class HelpViewer : public QWidget {
 public:
  HelpViewer();

  // Shows the file at its contents; the description of the error when it cannot be read.
  std::optional<QString> open(const QString& path);
  QTextBrowser* browser() const { return browser_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_;
};

}  // namespace tessaron::qt
