// Program entry: the console first (its creation is the start-up of the simulator), then the
// windows that open from its menus, then the message loop until the console closes.
#include <QApplication>
#include <utility>

#include "console/ui/console_window.h"
#include "console/ui/termination_signals.h"
#include "i18n/ui/qt_translation.h"

int main(int argc, char* argv[]) {
  // The program takes no command-line arguments: Qt sees only the program name.
  int qtArgc = argc > 0 ? 1 : 0;
  QApplication app(qtArgc, argv);
  // Only the console ends the program; the other windows merely hide when closed.
  QApplication::setQuitOnLastWindowClosed(false);
  kelpa::InstallQtTranslation();

  kelpa::TConsoleHooks hooks;
  hooks.OnFinished = [] { QCoreApplication::quit(); };
  kelpa::TForm1 console(std::move(hooks));
  kelpa::EndOnTerminationSignals(console);
  console.FormCreate();
  if (console.IsShutDown()) {
    // Closed before start-up had finished: there is nothing left to run.
    return 0;
  }
  console.CreateProcessWindows();
  console.show();
  return QApplication::exec();
}
