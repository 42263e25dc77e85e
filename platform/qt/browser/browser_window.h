#pragma once
// frmBrowser on the desktop: a toolbar, the address box and a Qt WebEngine view,
// drawn from the core window's controls. Lives in the browser program, which the
// clock starts only when the first browser window opens.

#include <QWidget>
#include <vector>

#include "commands/browser.h"

class QAction;
class QComboBox;
class QLabel;
class QTimer;
class QToolBar;
class QWebEngineView;

namespace tessaron::qt {

class BrowserWindow : public QWidget, private WebBrowserControl {
 public:
  explicit BrowserWindow(const std::string& startingAddress);

  const frmBrowser& form() const { return form_; }
  QComboBox* addressBox() const { return address_; }
  QWebEngineView* view() const { return view_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // WebBrowserControl
  bool Navigate(const std::string& address) override;
  std::string LocationName() override;
  std::string LocationURL() override;
  bool Busy() override;
  bool CanGoBack() override;
  bool CanGoForward() override;
  void GoBack() override;
  void GoForward() override;
  void Stop() override;
  void Refresh() override;

  void sync();
  Twips scaleWidth() const;
  Twips scaleHeight() const;

  frmBrowser form_;
  QToolBar* toolbar_;
  QWidget* panel_;
  QLabel* label_;
  QComboBox* address_;
  QWebEngineView* view_;
  QTimer* timer_;
  std::vector<QAction*> buttons_;  // the toolbar's, in the core's order
  bool loaded_ = false;
  bool busy_ = false;
};

}  // namespace tessaron::qt
