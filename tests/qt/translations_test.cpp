// The clock in each shipped language, its catalogs read from the build's locale tree under
// LANGUAGE (C.UTF-8, which the C library has built in, so no locale is installed): the menus,
// buttons and windows speak it, and its longest texts fit at 100 % and an 18 pt font.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "commands/confirmations.h"
#include "commands/dialogs.h"
#include "commands/help.h"
#include "commands/menu.h"
#include "i18n/i18n.h"
#include "platform/qt/form_dialog.h"
#include "tests/qt/scripted_window.h"

// glibc's count of loaded catalogs: bumped, gettext forgets the translations it looked up,
// as it must when LANGUAGE changes in a running process.
extern "C" int _nl_msg_cat_cntr;

namespace tessaron::qt::translations_test {
namespace {

std::vector<std::string> shippedLanguages() {
  std::vector<std::string> languages;
  std::string all = TESSARON_LANGUAGES;
  for (std::size_t at = 0; at <= all.size();) {
    const std::size_t end = std::min(all.find(',', at), all.size());
    if (end > at) languages.push_back(all.substr(at, end - at));
    at = end + 1;
  }
  return languages;
}

// The process speaks `language` while it lives, and English again after.
class InLanguage {
 public:
  explicit InLanguage(const std::string& language) {
    if (const char* was = std::getenv("LANGUAGE")) hadLanguage_ = was;
    messages_ = std::setlocale(LC_MESSAGES, nullptr);
    std::setlocale(LC_MESSAGES, "C.UTF-8");  // gettext ignores LANGUAGE under plain "C"
    ::setenv("LANGUAGE", language.c_str(), 1);
    bindCatalogs(TESSARON_LOCALE_TREE);
    ++_nl_msg_cat_cntr;
  }
  ~InLanguage() {
    if (hadLanguage_) {
      ::setenv("LANGUAGE", hadLanguage_->c_str(), 1);
    } else {
      ::unsetenv("LANGUAGE");
    }
    std::setlocale(LC_MESSAGES, messages_.c_str());
    ++_nl_msg_cat_cntr;
  }

 private:
  std::optional<std::string> hadLanguage_;
  std::string messages_;
};

class Translated : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    QFont font = saved_;
    font.setPointSizeF(18);
    QApplication::setFont(font);
  }
  void TearDown() override { QApplication::setFont(saved_); }

 private:
  QFont saved_ = QApplication::font();
};

QString shown(const char* context, const char* english) {
  return QString::fromUtf8(translate(context, english));
}

TEST_P(Translated, MenusAndToolbarSpeakTheLanguage) {
  InLanguage language(GetParam());
  // The catalog is there and read.
  ASSERT_EQ(catalogLanguage(), GetParam());
  ScriptedWindow w;
  const QList<QAction*> menus = w.window.menuBar()->actions();
  ASSERT_EQ(menus.size(), static_cast<qsizetype>(kMenuCaptions.size()));
  for (std::size_t m = 0; m < kMenuCaptions.size(); ++m) {
    SCOPED_TRACE(kMenuCaptions[m]);
    EXPECT_EQ(menus[static_cast<qsizetype>(m)]->text(), shown(kMenuBarContext, kMenuCaptions[m]));
    const QList<QAction*> items = menus[static_cast<qsizetype>(m)]->menu()->actions();
    std::size_t next = 0;
    for (const MenuEntry& entry : kCommandTable) {
      if (entry.menu != static_cast<int>(m)) continue;
      ASSERT_LT(next, static_cast<std::size_t>(items.size()));
      EXPECT_EQ(items[static_cast<qsizetype>(next++)]->text(),
                shown(kMenuContexts[m], entry.caption));
    }
  }
  // The toolbar's tooltips, which are its buttons' names to screen readers.
  int buttons = 0;
  for (const MenuEntry& entry : kCommandTable) {
    if (entry.button.toolTip == nullptr) continue;
    auto* button = w.window.findChild<QAction*>(QString::fromStdString("button_") + entry.name);
    ASSERT_NE(button, nullptr) << entry.name;
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(translate(entry.button.toolTip)));
    ++buttons;
  }
  EXPECT_EQ(buttons, 10);
  // The hover readout's words and a spoken confirmation.
  EXPECT_NE(w.core.readout().find(i18n("Local time")), std::string::npos);
  EXPECT_NE(i18n("Local time"), "Local time");
  EXPECT_EQ(confirmation(Command::Seconds, false, 100), i18n("Seconds hidden"));
}

// The text that fills its box the most, and how much of it: the place a longer translation
// would be cut first.
struct Fullest {
  double share = 0;  // the text's width over its box's
  std::string text, place;
};

// Each shipped language has its own help pages; a folder without them gives the English.
TEST_P(Translated, HelpOpensThePagesOfTheLanguage) {
  InLanguage language(GetParam());
  ScriptedWindow w;
  const std::string shipped = std::string(TESSARON_DATA_DIR) + "/";
  const std::string bare = w.platform.folder.path().toStdString() + "/";
  for (const char* page : {"Tessa.hlp", "TSShortcut.hlp"}) {
    SCOPED_TRACE(page);
    EXPECT_EQ(helpFile(w.platform, shipped, page), shipped + "help/" + GetParam() + "/" + page);
    EXPECT_EQ(helpFile(w.platform, bare, page), bare + page);
  }
}

// Every text of a form's window is whole in its box, at the font the window chose.
void expectFormFits(const Form& form, double* smallestPoints, Fullest* fullest) {
  SCOPED_TRACE(form.Name);
  FormDialog dialog(form, 0, nullptr, [](const std::string&) {});
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    const QFontMetrics metrics(label->font());
    const int width = metrics.horizontalAdvance(label->text());
    EXPECT_LE(width, label->width()) << label->text().toStdString();
    if (label->width() > 0 && width > fullest->share * label->width()) {
      *fullest = {static_cast<double>(width) / label->width(), label->text().toStdString(),
                  form.Name + "." + label->objectName().toStdString()};
    }
    EXPECT_LE(metrics.height(), label->height() + 2) << label->text().toStdString();
  }
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width())
        << button->text().toStdString();
  }
  *smallestPoints = std::min(*smallestPoints, dialog.font().pointSizeF());
}

double formsSmallestFont(ScriptedWindow& w, Fullest* fullest) {
  double points = 1000;
  frmAbout about;
  about.Form_Load(w.platform, 100);
  expectFormFits(about.form, &points, fullest);
  frmTSSupport support;
  support.Form_Load(w.platform, 100);
  expectFormFits(support.form, &points, fullest);
  return points;
}

TEST_P(Translated, TheLongestTextsFitAtTheNormalSizeAnd18pt) {
  double english = 0;
  {
    ScriptedWindow w;
    Fullest ignored;
    english = formsSmallestFont(w, &ignored);
  }
  InLanguage language(GetParam());
  ScriptedWindow w;
  QApplication::processEvents();
  // Both menus on the menu bar, none behind its overflow arrow.
  QMenuBar* bar = w.window.menuBar();
  for (QAction* menu : bar->actions()) {
    EXPECT_LE(bar->actionGeometry(menu).right(), bar->width()) << menu->text().toStdString();
    EXPECT_GT(bar->actionGeometry(menu).width(), 0) << menu->text().toStdString();
  }
  // The windows drawn from forms shrink their font to fit; a translation may cost it a
  // little, never half.
  Fullest fullest;
  const double translated = formsSmallestFont(w, &fullest);
  EXPECT_GE(translated, english * 0.75) << "English " << english << " pt";
  RecordProperty("fullest", fullest.place + ": " + fullest.text);
  std::printf("%s: forms at %.1f pt (English %.1f pt); fullest %s at %.0f %%: %s\n",
              GetParam().c_str(), translated, english, fullest.place.c_str(), fullest.share * 100,
              fullest.text.c_str());
}

// The hover readout's date and the About window's version as the language writes them; the
// time stays the 24-hour one of the dots.
TEST(UserFormats, TheReadoutDateAndTheVersionFollowTheLanguage) {
  struct Case {
    const char* language;
    const char* date;     // 2026-12-10
    const char* version;  // 1.0.0 as the About window shows it
  };
  const Case cases[] = {
      {"de", "10.12.2026", "1.0.0"},
      {"ja", "2026年12月10日", "1.0.0"},
      {"ar", "١٠/١٢/٢٠٢٦", "١.٠.٠"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    InLanguage language(c.language);
    ScriptedWindow w;
    w.tick();
    const std::string readout = w.core.readout();
    EXPECT_EQ(readout.substr(0, readout.find('\n')), "12:34");  // seconds hidden at first
    EXPECT_NE(readout.find(std::string("\n") + c.date + "\n"), std::string::npos) << readout;
    frmAbout about;
    about.Form_Load(w.platform, 100);
    const ProgramInfo info = w.platform.programInfo();
    ASSERT_EQ(info.major, 1);
    EXPECT_EQ(about.form.control("Label2")->Caption, c.version);
  }
}

INSTANTIATE_TEST_SUITE_P(Shipped, Translated, ::testing::ValuesIn(shippedLanguages()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tessaron::qt::translations_test
