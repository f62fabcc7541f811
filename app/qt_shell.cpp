// SPDX-License-Identifier: MIT
#include "app/qt_shell.h"

#include "gui/common/live_zoom.h"
#include "gui/common/screen_fit.h"
#include "gui/console/message_box_reporter.h"

namespace kelpa {

QtShell::QtShell(TConsoleHooks hooks) {
  IErrorReporter* reporter = hooks.Reporter;
  if (reporter == nullptr) {
    boxReporter_ = std::make_unique<MessageBoxReporter>();
    reporter = boxReporter_.get();
  }
  session_ = std::make_unique<Session>(*reporter);
  windows_ = std::make_unique<TWindowSet>();
  // A new program starts at the zoom it was started with (Qt's scale factor) and nothing more.
  SetLiveZoom(1.0);
  console_ = std::make_unique<TForm1>(std::move(hooks), *session_, *windows_);
  new KeepOnScreen(console_.get());
}

QtShell::~QtShell() {
  // The console's shutdown ends the threads before any window goes.
  console_.reset();
  windows_.reset();
  session_.reset();
}

}  // namespace kelpa
