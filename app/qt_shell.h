// SPDX-License-Identifier: MIT
// The program as the Qt shell builds it: the session (simulation, log, settings, catalogue), the
// windows with the Qt display, and the console that starts and ends them. Declared in the order
// that destroys the console first, then the windows and the display, then the session.
#pragma once

#include <memory>

#include "gui/console/console_window.h"
#include "gui/console/window_set.h"
#include "session/session.h"

namespace kelpa {

class MessageBoxReporter;

class QtShell {
 public:
  explicit QtShell(TConsoleHooks hooks = {});
  ~QtShell();
  QtShell(const QtShell&) = delete;
  QtShell& operator=(const QtShell&) = delete;

  TForm1& Console() { return *console_; }

 private:
  // Where file errors go when the hooks name no reporter: message boxes.
  std::unique_ptr<MessageBoxReporter> boxReporter_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<TWindowSet> windows_;
  std::unique_ptr<TForm1> console_;
};

}  // namespace kelpa
