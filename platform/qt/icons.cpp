#include "platform/qt/icons.h"

#include <QBitmap>
#include <QPixmap>

#include "platform/qt/icons/alttimezone.xpm"
#include "platform/qt/icons/always.xpm"
#include "platform/qt/icons/main.xpm"
#include "platform/qt/icons/music.xpm"
#include "platform/qt/icons/numbers.xpm"
#include "platform/qt/icons/off.xpm"
#include "platform/qt/icons/on.xpm"
#include "platform/qt/icons/preferences.xpm"
#include "platform/qt/icons/seconds.xpm"
#include "platform/qt/icons/transparent.xpm"
#include "platform/qt/icons/vertical.xpm"

namespace tessaron::qt {

QIcon toolbarIcon(int index) {
  // In the order of the picture list: Main, Always, Seconds, AltTimeZone, On, Off,
  // Transparent, Numbers, Preferences, Music, Vertical.
  static const char* const* const kPictures[] = {
      main_xpm,        always_xpm,  seconds_xpm,     alttimezone_xpm, on_xpm,      off_xpm,
      transparent_xpm, numbers_xpm, preferences_xpm, music_xpm,       vertical_xpm};
  if (index < 1 || index > static_cast<int>(std::size(kPictures))) return QIcon();
  QPixmap picture(kPictures[index - 1]);
  picture.setMask(picture.createMaskFromColor(QColor(192, 192, 192)));
  return QIcon(picture);
}

}  // namespace tessaron::qt
