// Program entry: the console first (its creation is the start-up of the simulator), then the
// windows that open from its menus, then the message loop until the console closes.
#include <QApplication>
#include <utility>

#include "app/qt_shell.h"
#include "gui/common/window_zoom.h"
#include "gui/console/termination_signals.h"
#include "gui/language/qt_translation.h"
#include "runner/command_line.h"

int main(int argc, char* argv[]) {
  // The runner needs no display, so it is decided before any Qt object exists.
  if (const auto status = kelpa::RunCommandLine(argc, argv)) {
    return *status;
  }
  // Qt takes the windows' scale from the environment as the application object is made.
  const int zoom = kelpa::ApplyZoomSetting();
  // Anything else is Qt's (-platform, -style, ...).
  QApplication app(argc, argv);
  // Only the console ends the program; the other windows merely hide when closed.
  QApplication::setQuitOnLastWindowClosed(false);
  kelpa::InstallQtTranslation();

  kelpa::TConsoleHooks hooks;
  hooks.StartZoom = zoom;
  // Queued: the console may close before the message loop has started (a signal during a
  // start-up message box), and the loop must then end as soon as it starts.
  hooks.OnFinished = [] {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  };
  kelpa::QtShell program(std::move(hooks));
  kelpa::TForm1& console = program.Console();
  kelpa::EndOnTerminationSignals(console);
  // Start-up returns with the credits shown; the console and its windows appear when the splash
  // ends.
  console.FormCreate();
  console.CreateProcessWindows();
  return QApplication::exec();
}
