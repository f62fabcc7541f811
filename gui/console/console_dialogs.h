// SPDX-License-Identifier: MIT
// How the console talks to the user: information and error boxes, the beep, and the questions of
// the scenario items of its menu (the file to open or to save as, the tick to go back to or on
// to, the kind of event to run on to). Each is a hook in tests and a dialog otherwise; a
// dialog's title is the caption of the item that asks.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "gui/console/console_hooks.h"
#include "timeline/timeline_model.h"

class QWidget;

namespace kelpa {

struct TMessages;

class TConsoleDialogs {
 public:
  // Dialogs over console, in the texts of msg; both outlive this.
  TConsoleDialogs(QWidget& console, const TConsoleHooks& hooks, const TMessages& msg);

  void ShowInformation(const QString& text);
  void ShowError(const QString& text);
  void Beep();

  // The scenario file to open, or to save as (proposing suggested); empty when none was chosen.
  QString ScenarioFile(bool save, const QString& suggested);
  // The tick to go back to, 0..last.
  std::optional<std::int64_t> TickToGoBackTo(std::int64_t last);
  // The tick to go to, as typed, proposing now.
  std::optional<QString> TickToGoTo(std::int64_t last, std::int64_t now);
  // The kind of event to run on to, proposing the one chosen last.
  std::optional<TimelineMark> EventKind();

 private:
  QString Title(const char* item) const;

  QWidget& console_;
  const TConsoleHooks& hooks_;
  const TMessages& msg_;
  int eventKind_ = 0;  // the kind of event last chosen
};

}  // namespace kelpa
