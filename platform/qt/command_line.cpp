#include "platform/qt/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace tessaron::qt {

namespace {

int refuse(const QString& why) {
  std::fprintf(stderr, "tessaron: %s\nThe clock takes no arguments; try 'tessaron --help'.\n",
               qPrintable(why));
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
  parser.setApplicationDescription(
      "A binary clock: the time as dots, one per bit. It takes no other arguments;\n"
      "everything is set from its Options menu.");
  // Qt's own options are refused too, so the help leaves them out (no "--help-all").
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({"h", "help"}, "Displays this help.");
  parser.addOption(help);
  parser.addVersionOption();
  if (!parser.parse(QCoreApplication::arguments())) {
    return refuse(parser.errorText());
  }
  if (!parser.positionalArguments().isEmpty()) {
    return refuse(
        QStringLiteral("Unknown argument '%1'.").arg(parser.positionalArguments().first()));
  }
  // Both print and exit with status 0.
  if (parser.isSet("version")) parser.showVersion();
  if (parser.isSet(help)) parser.showHelp(0);
  return refuse(QStringLiteral("Unknown argument '%1'.").arg(QCoreApplication::arguments().last()));
}

}  // namespace tessaron::qt
