// SPDX-License-Identifier: MIT
// What shows the Qt display's discs (the processor window). The display knows it only through
// this interface, so the display does not depend on the window; the board connects itself to the
// display's signals.
#pragma once

namespace kelpa {

class QtDisplay;

class DiscBoard {
 public:
  // From now on the board carries out `display`'s requests (each connection made once).
  virtual void FollowDisplay(QtDisplay& display) = 0;

 protected:
  ~DiscBoard() = default;
};

}  // namespace kelpa
