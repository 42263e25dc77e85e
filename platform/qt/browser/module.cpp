// The browser module's entry point, resolved by name when the first browser opens.

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QtGlobal>

#include "platform/qt/browser/browser_window.h"

// Qt's own setter for the context that Qt::AA_ShareOpenGLContexts would have made at
// start-up; exported by Qt GUI, declared only in its private headers.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace {

// The web engine draws through a context shared with the application's. The clock does
// not ask for one at start-up, where it would cost it dozens of megabytes at rest for a
// browser it may never open; the first browser window makes it.
void shareOpenGLContexts() {
  if (QOpenGLContext::globalShareContext() != nullptr) return;
  auto* context = new QOpenGLContext(qApp);
  context->setFormat(QSurfaceFormat::defaultFormat());
  context->create();
  qt_gl_set_global_share_context(context);
}

}  // namespace

extern "C" Q_DECL_EXPORT void tessaronOpenBrowserWindow(const char* startingAddress) {
  shareOpenGLContexts();
  auto* window = new tessaron::qt::BrowserWindow(startingAddress);  // deletes itself on close
  // Pages must be gone before the engine's profile goes down with the program.
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, [window] { delete window; });
  window->show();
}
