// The support browser window with the real web engine, made here as the browser program
// makes it, against pages served on loopback by the test itself; and the browser program
// as the clock starts it, whole and damaged.

#include "platform/qt/browser/browser_window.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "platform/qt/browser_process.h"

namespace tessaron::qt {
namespace {

constexpr int kLoadTimeoutMs = 60000;  // the engine's first start is the slow part

// Answers GET requests from a table of paths: a page, or a redirect to another path.
class LoopbackServer {
 public:
  struct Reply {
    int status;
    QByteArray body;      // for 200
    QByteArray location;  // for 302: a path on this server
  };
  std::map<QByteArray, Reply> replies;
  QStringList requested;

  LoopbackServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }
  QString url(const char* path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }

 private:
  QTcpServer server_;

  void serve(QTcpSocket* socket) {
    QByteArray& request = pending_[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n")) return;
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    pending_.erase(socket);
    const QByteArray path = words.size() >= 2 ? words[1] : QByteArray("/");
    requested << QString::fromLatin1(path);
    QByteArray head, body;
    const auto it = replies.find(path);
    if (it == replies.end()) {
      head = "HTTP/1.1 404 Not Found\r\n";
      body = "<html><head><title>Not Found</title></head></html>";
    } else if (it->second.status == 302) {
      head = "HTTP/1.1 302 Found\r\nLocation: " + url(it->second.location).toLatin1() + "\r\n";
    } else {
      head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n";
      body = it->second.body;
    }
    socket->write(head + "Content-Length: " + QByteArray::number(body.size()) +
                  "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
  }
  std::map<QTcpSocket*, QByteArray> pending_;
};

QByteArray page(const char* title) {
  return QByteArray("<html><head><title>") + title + "</title></head><body><p>" + title +
         "</p></body></html>";
}

// Watches one browser window: every caption it shows, its address list.
struct Window {
  QPointer<QWidget> widget;
  std::shared_ptr<QStringList> seen = std::make_shared<QStringList>();

  const QStringList& captions() const { return *seen; }
  QComboBox* box() const { return widget->findChild<QComboBox*>("cboAddress"); }
  QStringList list() const {
    QStringList items;
    for (int i = 0; i < box()->count(); ++i) items << box()->itemText(i);
    return items;
  }
};

class BrowserWindowTest : public ::testing::Test {
 protected:
  LoopbackServer server;

  void SetUp() override {
    server.replies["/tessa/tssupport.php"] = {200, page("Tessa Support Page"), {}};
    server.replies["/moved"] = {302, {}, "/tessa/tssupport.php"};
    server.replies["/second.html"] = {200, page("Second Page"), {}};
  }
  void TearDown() override {
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == "frmBrowser") windows.emplace_back(w);
    }
    for (const QPointer<QWidget>& w : windows) delete w.data();
  }

  // Opens a browser window through the module and finds the new top-level window.
  Window open(const QString& address) {
    std::set<QWidget*> before;
    for (QWidget* w : QApplication::topLevelWidgets()) before.insert(w);
    (new BrowserWindow(address.toStdString()))->show();
    Window window;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == "frmBrowser" && before.count(w) == 0) window.widget = w;
    }
    if (window.widget) {
      QObject::connect(window.widget, &QWidget::windowTitleChanged,
                       [seen = window.seen](const QString& t) {
                         if (seen->isEmpty() || seen->back() != t) *seen << t;
                       });
    }
    return window;
  }

  // Runs the event loop until `done` holds or the time is up.
  static bool waitFor(const std::function<bool()>& done, int ms = kLoadTimeoutMs) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      QTest::qWait(5);
    }
    return true;
  }
};

TEST_F(BrowserWindowTest, SupportPageEndsWithItsTitleAndOneListEntry) {
  const QString address = server.url("/tessa/tssupport.php");
  Window w = open(address);
  ASSERT_TRUE(w.widget);
  EXPECT_TRUE(w.widget->isVisible());
  EXPECT_EQ(w.widget->parentWidget(), nullptr) << "owned by no window";
  EXPECT_FALSE(w.widget->isModal());
  const bool done = waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; });
  ASSERT_TRUE(done) << "captions: " << w.captions().join(" | ").toStdString();
  QTest::qWait(200);  // late notifications must not change the result
  EXPECT_EQ(w.widget->windowTitle(), "Tessa Support Page");
  EXPECT_EQ(w.list(), QStringList{address});
  EXPECT_EQ(w.box()->currentText(), address);
  EXPECT_TRUE(w.captions().contains("Working...")) << w.captions().join(" | ").toStdString();
  EXPECT_EQ(server.requested.count("/tessa/tssupport.php"), 1) << "one load, no second navigation";
}

TEST_F(BrowserWindowTest, RedirectPutsTheReportedAddressFirst) {
  const QString moved = server.url("/moved");
  const QString landed = server.url("/tessa/tssupport.php");
  Window w = open(moved);
  ASSERT_TRUE(w.widget);
  const bool done = waitFor(
      [&] { return w.widget->windowTitle() == "Tessa Support Page" && w.list().size() == 2; });
  ASSERT_TRUE(done) << "captions: " << w.captions().join(" | ").toStdString()
                    << "; list: " << w.list().join(" | ").toStdString();
  EXPECT_EQ(w.list(), (QStringList{landed, moved}));
  EXPECT_EQ(w.box()->currentText(), landed);
}

// Back and Forward move through the window's own pages, each enabled only when there is
// a page to go to; Home comes back to the support page.
TEST_F(BrowserWindowTest, BackForwardAndHomeMoveBetweenTwoPages) {
  const QString first = server.url("/tessa/tssupport.php");
  const QString second = server.url("/second.html");
  Window w = open(first);
  ASSERT_TRUE(w.widget);
  auto button = [&](const char* key) {
    return w.widget->findChild<QAction*>(QString("button_") + key);
  };
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; }));
  EXPECT_FALSE(button("Back")->isEnabled());
  EXPECT_FALSE(button("Forward")->isEnabled());

  QLineEdit* edit = w.box()->lineEdit();
  edit->selectAll();
  QTest::keyClicks(edit, second);
  QTest::keyClick(edit, Qt::Key_Return);
  ASSERT_TRUE(waitFor(
      [&] { return w.widget->windowTitle() == "Second Page" && button("Back")->isEnabled(); }));
  EXPECT_FALSE(button("Forward")->isEnabled());

  button("Back")->trigger();
  ASSERT_TRUE(waitFor([&] {
    return w.widget->windowTitle() == "Tessa Support Page" && button("Forward")->isEnabled();
  })) << "captions: "
      << w.captions().join(" | ").toStdString();
  EXPECT_FALSE(button("Back")->isEnabled());
  EXPECT_EQ(w.box()->currentText(), first);

  button("Forward")->trigger();
  ASSERT_TRUE(waitFor(
      [&] { return w.widget->windowTitle() == "Second Page" && !button("Forward")->isEnabled(); }));
  EXPECT_EQ(w.box()->currentText(), second);

  button("Home")->trigger();
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; }));
  EXPECT_EQ(w.box()->currentText(), first);
}

// Search moves to the support page's search, within the page shown: it ends as any other
// navigation does, with the page's title and Stop unlit, each time it is clicked.
TEST_F(BrowserWindowTest, SearchEndsWithThePagesTitle) {
  const QString first = server.url("/tessa/tssupport.php");
  Window w = open(first);
  ASSERT_TRUE(w.widget);
  auto button = [&](const char* key) {
    return w.widget->findChild<QAction*>(QString("button_") + key);
  };
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; }));
  ASSERT_TRUE(waitFor([&] { return !button("Stop")->isEnabled(); }));
  for (int click = 1; click <= 2; ++click) {
    SCOPED_TRACE(click == 1 ? "first click" : "again, at the search already");
    button("Search")->trigger();
    // Nothing to fetch: far sooner than a page's load.
    const bool ended = waitFor(
        [&] {
          return w.widget->windowTitle() == "Tessa Support Page" && !button("Stop")->isEnabled() &&
                 w.box()->currentText() == first + "#search";
        },
        5000);
    EXPECT_TRUE(ended) << "caption " << w.widget->windowTitle().toStdString() << ", Stop "
                       << (button("Stop")->isEnabled() ? "lit" : "unlit") << ", address "
                       << w.box()->currentText().toStdString();
    QTest::qWait(300);  // and stays so
    EXPECT_EQ(w.widget->windowTitle(), "Tessa Support Page");
    EXPECT_FALSE(button("Stop")->isEnabled());
  }
}

// Keyboard only: Ctrl+L, Alt+D and the label's Alt+A select the whole address, so typing
// replaces it, and the page opened by Enter has the keyboard and hands it on by Tab and
// Shift+Tab; Tab and Shift+Tab reach every button that has something to do and the
// address, each button named; the browsers' keys go back, forward, home and reload; Ctrl+W
// closes the window.
TEST_F(BrowserWindowTest, EveryButtonAndTheAddressAreReachedByKeyboard) {
  const QString first = server.url("/tessa/tssupport.php");
  const QString second = server.url("/second.html");
  Window w = open(first);
  ASSERT_TRUE(w.widget);
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; }));
  w.widget->activateWindow();
  ASSERT_TRUE(waitFor([&] { return w.widget->isActiveWindow(); }));
  QLineEdit* edit = w.box()->lineEdit();
  auto type = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to =
        QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : w.widget.data();
    QTest::keyClick(to, key, modifiers);
  };
  for (const auto& [name, key, modifiers] : {std::tuple{"Ctrl+L", Qt::Key_L, Qt::ControlModifier},
                                             std::tuple{"Alt+D", Qt::Key_D, Qt::AltModifier},
                                             std::tuple{"Alt+A", Qt::Key_A, Qt::AltModifier}}) {
    SCOPED_TRACE(name);
    w.widget->setFocus();
    edit->deselect();
    type(key, modifiers);
    ASSERT_TRUE(waitFor([&] { return edit->hasFocus() && edit->selectedText() == first; }))
        << "selected: " << edit->selectedText().toStdString();
  }
  QTest::keyClicks(edit, second);
  EXPECT_EQ(edit->text(), second) << "typing replaced the address";
  type(Qt::Key_Return);
  auto button = [&](const char* key) {
    return w.widget->findChild<QAction*>(QString("button_") + key);
  };
  ASSERT_TRUE(waitFor([&] {
    return w.widget->windowTitle() == "Second Page" && button("Back")->isEnabled() &&
           !button("Stop")->isEnabled();
  }));
  auto* view = w.widget->findChild<QWebEngineView*>();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(waitFor([&] { return view->hasFocus(); }, 5000))
      << "the page opened from the address has the keyboard";
  // The page, with nothing of its own to focus, hands the keyboard on: Tab to the first
  // button there is to press, Shift+Tab to the address; never round into the page again.
  auto focusedName = [] {
    QWidget* at = QApplication::focusWidget();
    return at == nullptr ? QString("nothing") : at->accessibleName();
  };
  type(Qt::Key_Tab);
  EXPECT_TRUE(waitFor([&] { return focusedName() == "Back"; }, 5000))
      << "Tab from the page reached " << focusedName().toStdString();
  view->setFocus();
  ASSERT_TRUE(waitFor([&] { return view->hasFocus(); }, 5000));
  type(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(waitFor([&] { return edit->hasFocus(); }, 5000))
      << "Shift+Tab from the page reached " << focusedName().toStdString();

  // Back from the address, then forward again: every button there is to press, by name.
  auto reached = [&](bool back) {
    QStringList names;
    type(Qt::Key_L, Qt::ControlModifier);
    for (int i = 0; i < 8; ++i) {
      type(back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
      QWidget* at = QApplication::focusWidget();
      if (at == nullptr || at == edit || at->window() != w.widget) break;
      if (qobject_cast<QToolButton*>(at) == nullptr) break;  // the page
      names << at->accessibleName();
    }
    return names;
  };
  EXPECT_EQ(reached(true), (QStringList{"Search", "Home", "Refresh", "Back"}));
  // Space on the focused Back button goes back; Forward then has somewhere to go.
  type(Qt::Key_L, Qt::ControlModifier);
  for (int i = 0; i < 4; ++i) type(Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_EQ(QApplication::focusWidget()->accessibleName(), "Back");
  type(Qt::Key_Space);
  // Loaded: Stop has nothing more to stop.
  ASSERT_TRUE(waitFor([&] {
    return w.widget->windowTitle() == "Tessa Support Page" && button("Forward")->isEnabled() &&
           !button("Stop")->isEnabled();
  }));
  EXPECT_EQ(reached(true), (QStringList{"Search", "Home", "Refresh", "Forward"}));
  for (QAction* action : w.widget->findChildren<QAction*>()) {
    if (!action->objectName().startsWith("button_")) continue;
    auto* shown =
        qobject_cast<QToolButton*>(w.widget->findChild<QToolBar*>()->widgetForAction(action));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ("button_" + shown->accessibleName(), action->objectName()) << "named by its key";
    EXPECT_TRUE(shown->focusPolicy() & Qt::TabFocus) << action->objectName().toStdString();
  }

  type(Qt::Key_Right, Qt::AltModifier);
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Second Page"; }));
  type(Qt::Key_Left, Qt::AltModifier);
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; }));
  type(Qt::Key_Right, Qt::AltModifier);
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Second Page"; }));
  type(Qt::Key_Home, Qt::AltModifier);
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; }));
  const qsizetype loads = server.requested.count("/tessa/tssupport.php");
  type(Qt::Key_F5);
  ASSERT_TRUE(waitFor([&] { return server.requested.count("/tessa/tssupport.php") > loads; }));
  type(Qt::Key_W, Qt::ControlModifier);
  EXPECT_TRUE(waitFor([&] { return w.widget.isNull(); })) << "Ctrl+W closes the window";
}

TEST_F(BrowserWindowTest, EnterOpensTheTypedAddressAndAPickOpensAnEntry) {
  const QString first = server.url("/tessa/tssupport.php");
  const QString second = server.url("/second.html");
  Window w = open(first);
  ASSERT_TRUE(w.widget);
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; }));

  QLineEdit* edit = w.box()->lineEdit();
  edit->selectAll();
  QTest::keyClicks(edit, second);
  QTest::keyClick(edit, Qt::Key_Return);
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Second Page"; }))
      << "captions: " << w.captions().join(" | ").toStdString();
  ASSERT_TRUE(waitFor([&] {
    return w.list() == QStringList({second, first});
  })) << w.list().join(" | ").toStdString();

  // The user picks the older entry from the list.
  w.box()->setCurrentIndex(1);
  emit w.box()->activated(1);
  ASSERT_TRUE(waitFor([&] { return w.widget->windowTitle() == "Tessa Support Page"; }));
  ASSERT_TRUE(waitFor([&] {
    return w.list() == QStringList({first, second});
  })) << w.list().join(" | ").toStdString();
  EXPECT_EQ(server.requested.count("/tessa/tssupport.php"), 2);
  EXPECT_EQ(server.requested.count("/second.html"), 1);
}

TEST_F(BrowserWindowTest, EveryOpeningMakesANewWindow) {
  Window a = open(server.url("/second.html"));
  Window b = open(server.url("/second.html"));
  ASSERT_TRUE(a.widget);
  ASSERT_TRUE(b.widget);
  EXPECT_NE(a.widget, b.widget);
  EXPECT_TRUE(waitFor([&] {
    return a.widget->windowTitle() == "Second Page" && b.widget->windowTitle() == "Second Page";
  }));
}

// The browser program as the clock runs it: a window per request from one process, and a
// program that cannot start (missing, or ending at once) reported once per request.
TEST_F(BrowserWindowTest, TheBrowserProgramOpensWindowsOrIsReportedAsFailed) {
  struct Case {
    const char* name;
    QString program;
    bool works;
  };
  const Case cases[] = {
      {"the browser program", TESSARON_BROWSER_PROGRAM, true},
      {"a missing program", "/nonexistent/tessaron_browser", false},
      {"a program that ends at once", "/bin/false", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BrowserProcess browser(c.program);
    int failures = 0;
    browser.open(server.url("/second.html").toStdString(), [&] { ++failures; });
    browser.open(server.url("/second.html").toStdString(), [&] { ++failures; });
    if (c.works) {
      EXPECT_TRUE(waitFor([&] { return server.requested.count("/second.html") == 2; }));
      EXPECT_GT(browser.pid(), 0);
      EXPECT_EQ(failures, 0);
      ::kill(browser.pid(), SIGKILL);
    } else {
      EXPECT_TRUE(waitFor([&] { return failures == 2; })) << failures;
      QTest::qWait(100);
      EXPECT_EQ(failures, 2);
    }
    server.requested.clear();
  }
}

}  // namespace
}  // namespace tessaron::qt

int main(int argc, char** argv) {
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
