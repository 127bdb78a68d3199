#include <QApplication>
#include <QMetaObject>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/ini_location.h"
#include "app/main_window.h"
#include "core/version.h"

namespace {

// The name of the desktop entry, the metainfo and the icon, so that a desktop finds the
// entry's icon and name for the window.
constexpr char kApplicationId[] = "org.tavimor.Tavimor";

constexpr char kUsage[] = "usage: tavimor [--ini FILE] [--check]\n";

constexpr char kNoDisplay[] =
    "tavimor: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY nor "
    "QT_QPA_PLATFORM is set).\n"
    "Start it inside a desktop session, or convert from a terminal with tavimor-convert "
    "(see tavimor-convert --help).\n";

bool HasPlatformArgument(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "-platform" || a == "--platform" || a.rfind("-platform=", 0) == 0) return true;
  }
  return false;
}

bool HasDisplay(const std::vector<std::string>& args) {
#if defined(Q_OS_LINUX) || defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM") ||
         HasPlatformArgument(args);
#else
  (void)args;
  return true;
#endif
}

// Qt ends the process with abort() when no platform plugin can start (a DISPLAY naming no
// server, say); say what happened and exit with an error code instead.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  std::fprintf(stderr, "%s\n", qPrintable(message));
  if (type == QtFatalMsg) {
    std::fputs(
        "tavimor: the window could not be opened; for conversions without a window use "
        "tavimor-convert.\n",
        stderr);
    std::_Exit(2);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv, argv + argc);
  const tavimor::DesktopCommandLine commandLine = tavimor::ParseCommandLine(args);
  if (!commandLine.Error.empty()) {
    std::fprintf(stderr, "tavimor: %s\n%s", commandLine.Error.c_str(), kUsage);
    return 2;
  }
  if (commandLine.Help) {
    std::printf(
        "%s"
        "Moisture, temperature, pressure and 4-20 mA conversions in a desktop window.\n"
        "  --ini FILE   keep the saved selections in FILE (default: $TAVIMOR_INI, else\n"
        "               tavimor.ini in the per-user configuration folder)\n"
        "  --check      open the window, draw it once and exit: 0 when it could start\n"
        "  -h, --help   print this help\n"
        "  --version    print the version\n"
        "Without a display, use tavimor-convert.\n",
        kUsage);
    return 0;
  }
  if (commandLine.Version) {
    std::printf("tavimor %s\n", tavimor::kTavimorVersion);
    return 0;
  }
  if (!HasDisplay(args)) {
    std::fputs(kNoDisplay, stderr);
    return 2;
  }

  const QtMessageHandler previous = qInstallMessageHandler(StartupMessageHandler);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous);
  QApplication::setApplicationName(QStringLiteral("tavimor"));
  QApplication::setApplicationVersion(QLatin1String(tavimor::kTavimorVersion));
  QGuiApplication::setDesktopFileName(QLatin1String(kApplicationId));

  tavimor::AppState state;
  state.IniFile = tavimor::ResolveIniFile(commandLine);
  tavimor::MainWindow window(state);
  window.show();
  if (commandLine.Check) {
    // Queued behind the saved category's click, which queues the panel in turn; so this
    // second hop runs once the panel exists, draws everything and ends the event loop.
    QMetaObject::invokeMethod(
        &window,
        [&window] {
          QMetaObject::invokeMethod(
              &window,
              [&window] {
                const bool drawn = window.isVisible() && !window.grab().isNull();
                QApplication::exit(drawn ? 0 : 1);
              },
              Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
  }
  return QApplication::exec();
}
