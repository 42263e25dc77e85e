#include "platform/qt/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "platform/qt/text.h"

namespace tessaron::qt {

namespace {

int refuse(const QString& why) {
  std::fprintf(stderr, "tessaron: %s\n%s\n", qPrintable(why),
               i18n("The clock takes no arguments; try 'tessaron --help'.").c_str());
  return kRefusedArguments;
}

}  // namespace

std::optional<int> handleCommandLine(int argc, char* argv[]) {
  if (argc <= 1) return std::nullopt;
  // Without a display: "--help" and "--version" must work on any terminal.
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("Tessaron");
  QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                              .arg(TESSARON_VERSION_MAJOR)
                                              .arg(TESSARON_VERSION_MINOR)
                                              .arg(TESSARON_VERSION_PATCH));
  QCommandLineParser parser;
  installQtTranslations(app);
  parser.setApplicationDescription(
      qi18n("A binary clock: the time as dots, one per bit. It takes no other arguments;\n"
            "everything is set from its Options menu."));
  // Qt's own options are refused too, so the help leaves them out (no "--help-all").
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({"h", "help"}, qi18n("Displays this help."));
  parser.addOption(help);
  parser.addVersionOption();
  if (!parser.parse(QCoreApplication::arguments())) {
    return refuse(parser.errorText());
  }
  if (!parser.positionalArguments().isEmpty()) {
    return refuse(
        qi18n("Unknown argument '%1'.", parser.positionalArguments().first().toStdString()));
  }
  // Both print and exit with status 0.
  if (parser.isSet("version")) parser.showVersion();
  if (parser.isSet(help)) parser.showHelp(0);
  return refuse(
      qi18n("Unknown argument '%1'.", QCoreApplication::arguments().last().toStdString()));
}

}  // namespace tessaron::qt
