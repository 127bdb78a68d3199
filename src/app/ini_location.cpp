#include "app/ini_location.h"

#include <QDir>
#include <QStandardPaths>
#include <cstdlib>

namespace tavimor {

DesktopCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  DesktopCommandLine result;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--ini" || a == "-ini") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        result.Error = "--ini needs a file name";
        return result;
      }
      result.IniFile = args[++i];
    } else if (a.rfind("--ini=", 0) == 0) {
      if (a.size() == 6) {
        result.Error = "--ini needs a file name";
        return result;
      }
      result.IniFile = a.substr(6);
    } else if (a == "--help" || a == "-h") {
      result.Help = true;
    } else if (a == "--version") {
      result.Version = true;
    } else if (a == "--check") {
      result.Check = true;
    }
  }
  return result;
}

std::filesystem::path ResolveIniFile(const DesktopCommandLine& commandLine) {
  if (commandLine.IniFile) return std::filesystem::path(*commandLine.IniFile);
  if (const char* env = std::getenv("TAVIMOR_INI"); env && *env) {
    return std::filesystem::path(env);
  }
  QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (folder.isEmpty()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  }
  if (folder.isEmpty()) folder = QDir::currentPath();
  QDir().mkpath(folder);
  return std::filesystem::path(QDir(folder).filePath(QStringLiteral("tavimor.ini")).toStdString());
}

}  // namespace tavimor
