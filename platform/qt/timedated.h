#pragma once
// timedated on the system bus: it tells of a new system zone (its Timezone property) when
// it sets one, also where no watch on the zone file sees the change.
//
// Example: `timedatectl set-timezone Asia/Tokyo` relinks /etc/localtime, then timedated
// sends org.freedesktop.DBus.Properties.PropertiesChanged("org.freedesktop.timedate1",
// {"Timezone": "Asia/Tokyo"}, []) from /org/freedesktop/timedate1: `onZoneChange` runs.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>

namespace tessaron::qt {

class TimedatedListener : public QObject {
  Q_OBJECT

 public:
  // Listens on the bus at `address` (a D-Bus address, e.g. "unix:path=/run/dbus/system_bus_
  // socket"); a machine without that bus leaves it deaf, at no cost.
  TimedatedListener(const QString& address, std::function<void()> onZoneChange);
  ~TimedatedListener() override;
  TimedatedListener(const TimedatedListener&) = delete;
  TimedatedListener& operator=(const TimedatedListener&) = delete;
  bool listening() const { return listening_; }
  // The system bus's address: DBUS_SYSTEM_BUS_ADDRESS, else the standard socket.
  static QString systemBusAddress();

 private slots:
  void propertiesChanged(const QString& interface, const QVariantMap& changed,
                         const QStringList& invalidated);

 private:
  QString connectionName_;
  bool listening_ = false;
  std::function<void()> onZoneChange_;
};

}  // namespace tessaron::qt
