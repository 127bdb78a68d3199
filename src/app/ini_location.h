#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavimor {

// What the command line of the desktop program asks for.
struct DesktopCommandLine {
  std::optional<std::string> IniFile;  // --ini FILE or --ini=FILE
  bool Help = false;                   // --help or -h
  bool Version = false;                // --version
  bool Check = false;                  // --check: start, show the window once, exit
  std::string Error;                   // a malformed option, for the user
};

// Reads --ini, --help, --version and --check; every other argument is left to Qt.
DesktopCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The INI file of the saved selections: --ini FILE, else the environment variable
// TAVIMOR_INI, else tavimor.ini in the per-user configuration folder (created if missing).
std::filesystem::path ResolveIniFile(const DesktopCommandLine& commandLine);

}  // namespace tavimor
