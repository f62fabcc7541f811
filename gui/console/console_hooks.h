// SPDX-License-Identifier: MIT
// What a test may replace in the console: the length of the start-up splash and the ways the
// console talks to the user. Defaults are the real program's.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/error_reporter.h"
#include "session/settings.h"

namespace kelpa {

struct TConsoleHooks {
  int SplashMs = 5000;
  // Reports settings-file and log-file errors; null means message boxes.
  IErrorReporter* Reporter = nullptr;
  // Shows an information text; null means a message box.
  std::function<void(const QString&)> ShowMessage;
  // Null means QApplication::beep.
  std::function<void()> Beep;
  // Called once the console has closed and the simulation has stopped (the program entry quits).
  std::function<void()> OnFinished;
  // The zoom, in percent, the windows were scaled by when the program started.
  int StartZoom = kDefaultZoom;
  // Chooses a scenario file to open or to save (empty: none); null means a file dialog.
  std::function<QString(bool save)> ChooseScenarioFile;
  // Asks the tick to go back to, 0..last; null means an input box.
  std::function<std::optional<std::int64_t>(std::int64_t last)> AskTick;
  // Asks the tick to go to, as typed (none when cancelled); null means an input box.
  std::function<std::optional<QString>(std::int64_t last)> AskTickText;
  // Asks which of the kinds of event to run on to, by its place in kinds; null means a list box.
  std::function<std::optional<int>(const QStringList& kinds)> AskEventKind;
};

}  // namespace kelpa
