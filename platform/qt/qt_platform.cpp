#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>

#include "platform/qt/main_window.h"
#include "platform/qt/units.h"

namespace tessaron::qt {

TimeOfDay QtPlatform::localTimeOfDay() {
  const QTime t = QTime::currentTime();
  return {t.hour(), t.minute(), t.second()};
}

LocalDateTime QtPlatform::localNow() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

static QRect screenGeometry(const MainWindow* window) {
  const QScreen* screen = window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

ScreenArea QtPlatform::windowScreen() {
  const QRect g = screenGeometry(window_);
  return {toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
}

std::vector<ScreenArea> QtPlatform::screens() {
  std::vector<ScreenArea> areas;
  const QScreen* primary = QGuiApplication::primaryScreen();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    const ScreenArea area{toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
    if (screen == primary) {
      areas.insert(areas.begin(), area);
    } else {
      areas.push_back(area);
    }
  }
  return areas;
}

double QtPlatform::windowLeft() { return window_->outerLeft(); }
double QtPlatform::windowTop() { return window_->outerTop(); }
double QtPlatform::windowWidth() { return window_->outerWidth(); }
double QtPlatform::windowHeight() { return window_->outerHeight(); }
void QtPlatform::setWindowLeft(double twips) { window_->setOuterLeft(twips); }
void QtPlatform::setWindowTop(double twips) { window_->setOuterTop(twips); }
void QtPlatform::setWindowWidth(double twips) { window_->setOuterWidth(twips); }
void QtPlatform::setWindowHeight(double twips) { window_->setOuterHeight(twips); }

Colour QtPlatform::windowBackgroundColour() { return kButtonFace; }

void QtPlatform::setTopmost(bool topmost) { window_->setTopmost(topmost); }

std::optional<Colour> QtPlatform::chooseColour(Colour initial) {
  const QColor chosen = QColorDialog::getColor(toQColor(initial, window_->palette()), window_);
  if (!chosen.isValid()) return std::nullopt;
  return fromQColor(chosen);
}

std::string QtPlatform::inputBox(const std::string& message, const std::string& title,
                                 const std::string& defaultText, double left, double top) {
  QInputDialog dialog(window_);
  dialog.setWindowTitle(QString::fromStdString(title));
  dialog.setLabelText(QString::fromStdString(message));
  dialog.setTextValue(QString::fromStdString(defaultText));
  dialog.move(toPixels(left), toPixels(top));
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdString();
}

void QtPlatform::messageBox(const std::string& text, MessageStyle style, const std::string& title) {
  const QMessageBox::Icon icon = style == MessageStyle::Information   ? QMessageBox::Information
                                 : style == MessageStyle::Exclamation ? QMessageBox::Warning
                                                                      : QMessageBox::NoIcon;
  QMessageBox box(icon,
                  title.empty() ? QApplication::applicationName() : QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::Ok, window_);
  box.exec();
}

// Sound and help come with their own features.
void QtPlatform::playOnce(const std::string&) {}
void QtPlatform::playLoop(const std::string&) {}
void QtPlatform::stopSound() {}
bool QtPlatform::showHelp(const std::string&) { return false; }

bool QtPlatform::isOrdinaryFile(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  return info.isFile() && !info.isHidden();
}

std::optional<std::string> QtPlatform::readFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return data.toStdString();
}

bool QtPlatform::writeFileReplacing(const std::string& path, const std::string& contents) {
  // A temporary file renamed over the old one: an interrupted save keeps the old file.
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(contents.data(), static_cast<qint64>(contents.size())) !=
      static_cast<qint64>(contents.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

ProgramInfo QtPlatform::programInfo() {
  ProgramInfo info;
  info.folder = QCoreApplication::applicationDirPath().toStdString();
  info.major = TESSARON_VERSION_MAJOR;
  info.minor = TESSARON_VERSION_MINOR;
  info.revision = TESSARON_VERSION_PATCH;
  info.companyName = "Tessaron Project";
  info.legalCopyright = "Copyright (C) 2026 The Tessaron developers";
  info.fileDescription = "Tessaron binary clock";
  return info;
}

ZoneCatalogueSource QtPlatform::readZoneCatalogue(int) {
  // The system's tz database comes with the time-zone feature.
  return {"/usr/share/zoneinfo", true, {}, ""};
}

}  // namespace tessaron::qt
