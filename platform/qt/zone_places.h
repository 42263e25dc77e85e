#pragma once
// The names people look a zone up by, beside its id: its city and its country, in English
// and in the user's languages. Countries come from Debian's iso-codes (English names, and
// their translations through its gettext catalogs), cities from the zone id and from ICU's
// exemplar cities (CLDR).
//
// Example, for the languages {"de"}: names("Asia/Tokyo", "JP") gives {"Tokyo", "Tokio",
// "Japan"}; names("Europe/Busingen", "DE") gives {"Busingen", "Büsingen", "Germany",
// "Deutschland", "Federal Republic of Germany", "Bundesrepublik Deutschland"}.

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

namespace tessaron::qt {

class ZonePlaces {
 public:
  // `languages` as QLocale::uiLanguages gives them ("de-DE", "de"): the cities in the first;
  // the countries in what gettext takes from the environment (LANGUAGE, LC_MESSAGES).
  // `isoCodesJson` is iso-codes' ISO 3166-1 table; a missing or damaged one gives no
  // country names, nothing worse.
  explicit ZonePlaces(
      const QStringList& languages,
      const QString& isoCodesJson = QStringLiteral("/usr/share/iso-codes/json/iso_3166-1.json"));
  ~ZonePlaces();
  ZonePlaces(const ZonePlaces&) = delete;
  ZonePlaces& operator=(const ZonePlaces&) = delete;

  // Without repeats, in the order above.
  std::vector<std::string> names(const std::string& zoneId, const std::string& countryCode);

  // For comparing: compatibility-decomposed, marks dropped, case-folded. "São Paulo" gives
  // "sao paulo", "ＴＯＫＹＯ" gives "tokyo".
  static std::string searchForm(const std::string& text);

 private:
  void readCountries();

  struct CityNames;  // ICU's, made at the first city asked for
  std::unique_ptr<CityNames> cities_;

  QString cityLocale_;  // ICU's form, e.g. "de_DE"
  QString isoCodesJson_;
  bool countriesRead_ = false;
  QHash<QString, QStringList> countries_;  // "JP" -> {"Japan", "Japan"...}
};

}  // namespace tessaron::qt
