// The names a zone is found by: its city and its country, in English and in the user's
// language, from ICU's cities and iso-codes' countries as this machine has them; and the
// search form that sets letter case and accents aside.

#include "platform/qt/zone_places.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

// gettext keeps the texts it found by the locale, not by LANGUAGE: a change of LANGUAGE in a
// running program is seen once this counter moves, as gettext's manual says.
extern "C" int _nl_msg_cat_cntr;

namespace tessaron::qt::zone_places_test {
namespace {

// gettext's language for the countries, as a user's session sets it: LANGUAGE, under a
// locale that is not "C" (C.UTF-8 is built into the C library). Put back afterwards.
class InLanguage {
 public:
  explicit InLanguage(const char* language) {
    if (const char* old = std::getenv("LANGUAGE")) oldLanguage_ = old;
    oldLocale_ = std::setlocale(LC_MESSAGES, nullptr);
    setenv("LANGUAGE", language, 1);
    ok_ = std::setlocale(LC_MESSAGES, "C.UTF-8") != nullptr;
    ++_nl_msg_cat_cntr;
  }
  ~InLanguage() {
    if (oldLanguage_.empty()) {
      unsetenv("LANGUAGE");
    } else {
      setenv("LANGUAGE", oldLanguage_.c_str(), 1);
    }
    std::setlocale(LC_MESSAGES, oldLocale_.c_str());
    ++_nl_msg_cat_cntr;
  }
  bool ok() const { return ok_; }

 private:
  std::string oldLanguage_, oldLocale_;
  bool ok_ = false;
};

bool holds(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(ZonePlaces, CitiesAndCountriesInTheUsersLanguage) {
  struct Case {
    const char* language;
    const char* zone;
    const char* country;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"en", "Asia/Kolkata", "IN", {"Kolkata", "India"}},
      {"en", "America/Sao_Paulo", "BR", {"Sao Paulo", "Brazil"}},
      {"en", "America/Argentina/Buenos_Aires", "AR", {"Argentina", "Buenos Aires"}},
      {"fr", "Asia/Tokyo", "JP", {"Tokyo", "Japan", "Japon"}},
      {"de", "Asia/Tokyo", "JP", {"Tokyo", "Tokio", "Japan"}},
      {"de", "Europe/Berlin", "DE", {"Berlin", "Germany", "Deutschland"}},
      {"de", "Europe/Busingen", "DE", {"Busingen", "B\u00fcsingen", "Deutschland"}},
      // ICU knows Kolkata by its older id, Calcutta.
      {"de", "Asia/Kolkata", "IN", {"Kolkata", "Kalkutta", "Indien"}},
      {"pt_BR", "America/Sao_Paulo", "BR", {"S\u00e3o Paulo", "Brasil"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + " " + c.zone);
    InLanguage language(c.language);
    ASSERT_TRUE(language.ok());
    ZonePlaces places({QString::fromLatin1(c.language)});
    const std::vector<std::string> names = places.names(c.zone, c.country);
    for (const std::string& name : c.expected) EXPECT_TRUE(holds(names, name)) << name;
    EXPECT_EQ(std::count(names.begin(), names.end(), names.front()), 1) << "no name twice";
  }
}

TEST(ZonePlaces, WithoutTheCountryTableTheCitiesRemain) {
  QTemporaryDir dir;
  const QString damaged = dir.filePath("iso_3166-1.json");
  QFile file(damaged);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("{\"3166-1\": [{\"alpha_2\": \"JP\", \"name\":");
  file.close();
  for (const QString& table : {damaged, dir.filePath("missing.json"), dir.path()}) {
    SCOPED_TRACE(table.toStdString());
    ZonePlaces places({"de"}, table);
    EXPECT_EQ(places.names("Asia/Tokyo", "JP"), (std::vector<std::string>{"Tokyo", "Tokio"}));
  }
  ZonePlaces places({"de"});
  EXPECT_EQ(places.names("Etc/Unknown_Place", "ZZ"), std::vector<std::string>{"Unknown Place"})
      << "a zone ICU does not know, in no country";
}

TEST(ZonePlaces, TheSearchFormSetsCaseAndAccentsAside) {
  struct Case {
    const char* text;
    const char* form;
  };
  const Case cases[] = {
      {"S\u00e3o Paulo", "sao paulo"},
      {"B\u00fcsingen", "busingen"},
      {"\uff34\uff2f\uff2b\uff39\uff2f",
       "tokyo"},  // full-width letters, as some input methods type
      {"\u0422\u043e\u043a\u0438\u043e", "\u0442\u043e\u043a\u0438\u043e"},  // Cyrillic lowered
      {"\u6771\u4eac", "\u6771\u4eac"},  // no case, no accents: as it is
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ZonePlaces::searchForm(c.text), c.form);
  }
}

}  // namespace
}  // namespace tessaron::qt::zone_places_test
