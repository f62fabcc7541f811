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
