#include "platform/qt/zone_places.h"

#include <libintl.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <memory>

namespace tessaron::qt {

namespace {

constexpr const char* kIsoDomain = "iso_3166-1";
constexpr qint64 kMaxIsoCodesBytes = 4 << 20;  // the table is about 50 KB

void addOnce(QStringList& list, const QString& name) {
  if (!name.isEmpty() && !list.contains(name)) list << name;
}

// ICU's exemplar city for a zone, e.g. "Tokio" for "Asia/Tokyo" in German; empty when it
// has none. ICU knows some zones by an older id ("Asia/Calcutta" for "Asia/Kolkata").
QString exemplarCity(const icu::TimeZoneNames& names, const std::string& zoneId) {
  const icu::UnicodeString id = icu::UnicodeString::fromUTF8(zoneId);
  icu::UnicodeString canonical;
  UErrorCode status = U_ZERO_ERROR;
  icu::TimeZone::getCanonicalID(id, canonical, status);
  icu::UnicodeString city;
  names.getExemplarLocationName(U_SUCCESS(status) ? canonical : id, city);
  std::string utf8;
  city.toUTF8String(utf8);
  return QString::fromStdString(utf8);
}

}  // namespace

struct ZonePlaces::CityNames {
  std::unique_ptr<icu::TimeZoneNames> names;
};

ZonePlaces::~ZonePlaces() = default;

ZonePlaces::ZonePlaces(const QStringList& languages, const QString& isoCodesJson)
    : isoCodesJson_(isoCodesJson) {
  if (!languages.isEmpty()) cityLocale_ = QLocale(languages.front()).name();
}

void ZonePlaces::readCountries() {
  countriesRead_ = true;
  QFile file(isoCodesJson_);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxIsoCodesBytes) return;
  const QJsonArray countries =
      QJsonDocument::fromJson(file.read(kMaxIsoCodesBytes)).object().value("3166-1").toArray();
  // Its translations in UTF-8 whatever the locale's character set.
  bind_textdomain_codeset(kIsoDomain, "UTF-8");
  for (const QJsonValue& value : countries) {
    const QJsonObject country = value.toObject();
    const QString code = country.value("alpha_2").toString();
    if (code.size() != 2) continue;
    QStringList& names = countries_[code];
    for (const char* key : {"name", "common_name", "official_name"}) {
      const QString english = country.value(QLatin1String(key)).toString();
      if (english.isEmpty()) continue;
      addOnce(names, english);
      addOnce(names, QString::fromUtf8(dgettext(kIsoDomain, english.toUtf8().constData())));
    }
  }
}

std::vector<std::string> ZonePlaces::names(const std::string& zoneId,
                                           const std::string& countryCode) {
  QStringList names;
  // The id's own places, after its region: "America/Argentina/Buenos_Aires" gives
  // "Argentina" and "Buenos Aires".
  const QStringList parts = QString::fromStdString(zoneId).split('/');
  for (qsizetype i = parts.size() > 1 ? 1 : 0; i < parts.size(); ++i) {
    addOnce(names, QString(parts[i]).replace('_', ' '));
  }
  if (!cityLocale_.isEmpty()) {
    if (!cities_) {
      cities_ = std::make_unique<CityNames>();
      UErrorCode status = U_ZERO_ERROR;
      cities_->names.reset(icu::TimeZoneNames::createInstance(
          icu::Locale(cityLocale_.toStdString().c_str()), status));
      if (U_FAILURE(status)) cities_->names.reset();
    }
    if (cities_->names) addOnce(names, exemplarCity(*cities_->names, zoneId));
  }
  if (!countriesRead_) readCountries();
  for (const QString& country : countries_.value(QString::fromStdString(countryCode))) {
    addOnce(names, country);
  }
  std::vector<std::string> result;
  result.reserve(static_cast<std::size_t>(names.size()));
  for (const QString& name : names) result.push_back(name.toStdString());
  return result;
}

std::string ZonePlaces::searchForm(const std::string& text) {
  const QString decomposed = QString::fromStdString(text).normalized(QString::NormalizationForm_KD);
  QString form;
  form.reserve(decomposed.size());
  for (const QChar c : decomposed) {
    if (!c.isMark()) form += c;
  }
  return form.toCaseFolded().toStdString();
}

}  // namespace tessaron::qt
