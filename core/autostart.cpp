#include "core/autostart.h"

#include <string_view>

namespace tessaron {

std::string execValue(const std::string& program) {
  // Characters the Exec key's quoting rules reserve: an argument holding one is quoted.
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  const bool quoted = program.find_first_of(kReserved) != std::string::npos;
  std::string arg;
  for (char c : program) {
    if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) arg += '\\';
    arg += c == '%' ? std::string("%%") : std::string(1, c);
  }
  if (quoted) arg = '"' + arg + '"';
  // The string escapes come on top of the quoting: each backslash doubles again.
  std::string value;
  for (char c : arg) {
    switch (c) {
      case '\\':
        value += "\\\\";
        break;
      case '\n':
        value += "\\n";
        break;
      case '\t':
        value += "\\t";
        break;
      case '\r':
        value += "\\r";
        break;
      default:
        value += c;
    }
  }
  return value;
}

std::string formatAutostartEntry(const std::string& program) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Tessaron\n"
         "Comment=Shows the time as dots, one per bit\n"
         "Exec=" +
         execValue(program) +
         "\n"
         "Icon=org.tessaron.Tessaron\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace tessaron
