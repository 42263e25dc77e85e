#include "platform/qt/text.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tessaron::qt {

void installQtTranslations(QCoreApplication& app) {
  // Qt's own words (the colour chooser, a message box's buttons, --help's options), from
  // the translations Qt ships, in the language our own catalogs are chosen by.
  auto* qtBase = new QTranslator(&app);
  if (qtBase->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qtBase);
  } else {
    delete qtBase;
  }
  // A right-to-left language mirrors the window, as Qt's own translation of it would ask;
  // said here too for a machine without Qt's translations.
  const std::string language = catalogLanguage();
  if (qobject_cast<QGuiApplication*>(&app) != nullptr && !language.empty() &&
      QLocale(QString::fromStdString(language)).textDirection() == Qt::RightToLeft) {
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
  }
}

}  // namespace tessaron::qt
