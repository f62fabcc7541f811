// SPDX-License-Identifier: MIT
// Shows errors from code without a user interface in a critical message box on the
// user-interface thread (posted there when reported from another thread).
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/error_reporter.h"

namespace kelpa {

class MessageBoxReporter : public IErrorReporter {
 public:
  explicit MessageBoxReporter(QWidget* parent = nullptr) : parent_(parent) {}
  void ShowError(const std::string& message) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace kelpa
