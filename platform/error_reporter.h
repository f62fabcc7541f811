// SPDX-License-Identifier: MIT
// How code without a user interface tells the user that something failed. The window layer shows
// the message in a message box; tests record it.
#pragma once

#include <string>

namespace kelpa {

class IErrorReporter {
 public:
  virtual ~IErrorReporter() = default;
  virtual void ShowError(const std::string& message) = 0;
};

}  // namespace kelpa
