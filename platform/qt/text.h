#pragma once
// The desktop side's own words in the user's language, as Qt strings.
//
// Example: qi18n("Time zones") is "Zeitzonen" under LANGUAGE=de, and the English text
// under the C locale.

#include <QString>

class QCoreApplication;

#include "i18n/i18n.h"

namespace tessaron::qt {

template <typename... Args>
QString qi18n(const char* english, const Args&... args) {
  return QString::fromStdString(i18n(english, args...));
}

// Qt's shipped translations of its own texts, for the user's language, into `app`.
void installQtTranslations(QCoreApplication& app);

}  // namespace tessaron::qt
