// SPDX-License-Identifier: MIT
// Program entry: the console first (its creation is the start-up of the simulator), then the
// windows that open from its menus, then the message loop until the console closes.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/desktop_folder.h"
#include "app/qt_shell.h"
#include "gui/common/app_look.h"
#include "gui/common/window_zoom.h"
#include "gui/console/message_box_reporter.h"
#include "gui/console/termination_signals.h"
#include "gui/language/qt_translation.h"
#include "gui/print/pdf_writer.h"
#include "gui/timeline/timeline_image.h"
#include "platform/settings_layers.h"
#include "runner/command_line.h"

namespace {

void SetApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/kelpa-%1.png").arg(size), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
}

// The runner's pictures and documents are drawn by Qt with no display, on the offscreen
// platform, by an application made at the first of them and kept until the command ends: a
// homework for a class writes many PDFs in one command (the runner itself never needs one).
class OffscreenApplication {
 public:
  OffscreenApplication() = default;
  OffscreenApplication(const OffscreenApplication&) = delete;
  OffscreenApplication& operator=(const OffscreenApplication&) = delete;
  ~OffscreenApplication() {
    app_.reset();
    if (!runtime_.empty()) {
      qunsetenv("XDG_RUNTIME_DIR");
      std::error_code error;
      std::filesystem::remove_all(runtime_, error);
    }
  }

  void Ensure() {
    if (app_) {
      return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt warns on stderr when there is no runtime folder (a shell with no login session, a
    // service): the application gets a private one for its moment, and the runner's stderr
    // stays its own.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
      std::string pattern =
          (std::filesystem::temp_directory_path() / "kelpa-runtime-XXXXXX").string();
      if (::mkdtemp(pattern.data()) != nullptr) {
        runtime_ = pattern;
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime_));
      }
    }
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }

 private:
  int argc_ = 1;
  char name_[6] = "kelpa";
  char* argv_[2] = {name_, nullptr};
  std::string runtime_;
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace

int main(int argc, char* argv[]) {
  // The menu entry starts "kelpa --desktop": the windows, in the user's Kelpa folder.
  const bool fromMenu = argc >= 2 && std::string_view(argv[1]) == "--desktop";
  if (fromMenu) {
    argv[1] = argv[0];
    --argc;
    ++argv;
  }
  // The runner needs no display, so it is decided before any Qt object exists.
  {
    OffscreenApplication offscreen;
    const auto png = [&offscreen](const kelpa::TimelineModel& model,
                                  const kelpa::TimelineFrame& frame,
                                  const kelpa::TimelineTexts& texts, const std::string& file) {
      offscreen.Ensure();
      return kelpa::WriteTimelinePng(model, frame, texts, file);
    };
    const auto pdf = [&offscreen](const kelpa::PrintDocument& doc, const std::string& file) {
      offscreen.Ensure();
      return kelpa::WritePdf(doc, file);
    };
    if (const auto status = kelpa::RunCommandLine(argc, argv, png, pdf)) {
      return *status;
    }
  }
  // A scenario named on the command line is found from the folder the program was started in,
  // even when it then works in the user's Kelpa folder.
  const QString startFolder = QDir::currentPath();
  // Into the user's Kelpa folder first: the zoom, the settings and the log are all read there.
  // A failure can only be shown once the application exists.
  const std::optional<std::string> folderProblem =
      fromMenu ? kelpa::EnterDesktopFolder(kelpa::DesktopFolder()) : std::nullopt;
  // Qt takes the windows' scale from the environment as the application object is made.
  const int zoom = kelpa::ApplyZoomSetting();
  // Anything else is Qt's (-platform, -style, ...).
  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kelpa.Kelpa"));
  SetApplicationIcon();
  // Only the console ends the program; the other windows merely hide when closed.
  QApplication::setQuitOnLastWindowClosed(false);
  if (folderProblem) {
    kelpa::MessageBoxReporter().ShowError(*folderProblem);
  }
  kelpa::InstallQtTranslation();
  // The look kelpa.ini names, before any window is made (the desktop's own when it names none).
  kelpa::ApplyLook(kelpa::ReadLook(kelpa::KelpaIniLayers()));

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
  // What is left once Qt has taken its own options: the scenario to open (the desktop entry's
  // file, from a double-click in a file manager).
  if (argc >= 2) {
    console.OpenScenarioWhenShown(
        QDir(startFolder).absoluteFilePath(QString::fromLocal8Bit(argv[1])));
  }
  return QApplication::exec();
}
