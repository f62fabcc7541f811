// SPDX-License-Identifier: MIT
// The whole program as its shell builds it (session, windows, console), held like a pointer to
// the console, so a test starts and ends it as the program entry does.
#pragma once

#include <memory>
#include <utility>

#include "app/qt_shell.h"

namespace kelpa {

class ConsoleHandle {
 public:
  ConsoleHandle() = default;
  explicit ConsoleHandle(TConsoleHooks hooks)
      : program_(std::make_unique<QtShell>(std::move(hooks))) {}

  // The program started as the program entry starts it, without the splash's wait and with
  // messages and beeps silent unless hooks say otherwise: the console is up and every window made.
  static ConsoleHandle Started(TConsoleHooks hooks) {
    hooks.SplashMs = 0;
    if (!hooks.ShowMessage) {
      hooks.ShowMessage = [](const QString&) {};
    }
    if (!hooks.Beep) {
      hooks.Beep = [] {};
    }
    ConsoleHandle console(std::move(hooks));
    console->FormCreate();
    console->CreateProcessWindows();
    return console;
  }

  TForm1* operator->() const { return get(); }
  TForm1& operator*() const { return *get(); }
  TForm1* get() const { return program_ ? &program_->Console() : nullptr; }
  explicit operator bool() const { return program_ != nullptr; }
  // Ends the program: the console, then the windows, then the session.
  void reset() { program_.reset(); }

 private:
  std::unique_ptr<QtShell> program_;
};

}  // namespace kelpa
