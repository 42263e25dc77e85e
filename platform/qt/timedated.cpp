#include "platform/qt/timedated.h"

#include <QDBusConnection>
#include <QFileInfo>

namespace tessaron::qt {

namespace {
constexpr const char* kPath = "/org/freedesktop/timedate1";
constexpr const char* kInterface = "org.freedesktop.timedate1";
constexpr const char* kProperty = "Timezone";
}  // namespace

QString TimedatedListener::systemBusAddress() {
  const QString address = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
  return address.isEmpty() ? QStringLiteral("unix:path=/run/dbus/system_bus_socket") : address;
}

TimedatedListener::TimedatedListener(const QString& address, std::function<void()> onZoneChange)
    : connectionName_(QStringLiteral("tessaron-timedated-%1").arg(quintptr(this), 0, 16)),
      onZoneChange_(std::move(onZoneChange)) {
  // No socket, no bus: no connection, and no bus thread started for nothing.
  static const QString kUnixPath = QStringLiteral("unix:path=");
  if (address.startsWith(kUnixPath) && !address.contains(',') && !address.contains(';') &&
      !QFileInfo::exists(address.mid(kUnixPath.size()))) {
    return;
  }
  QDBusConnection bus = QDBusConnection::connectToBus(address, connectionName_);
  if (!bus.isConnected()) return;
  // Any sender: a false report only has the zone file read again, which is always safe.
  listening_ = bus.connect(QString(), kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                           QStringLiteral("PropertiesChanged"), this,
                           SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
}

TimedatedListener::~TimedatedListener() { QDBusConnection::disconnectFromBus(connectionName_); }

void TimedatedListener::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                          const QStringList& invalidated) {
  if (interface != QLatin1String(kInterface)) return;
  if (changed.contains(kProperty) || invalidated.contains(kProperty)) onZoneChange_();
}

}  // namespace tessaron::qt
