// SPDX-License-Identifier: MIT
// The console's "Aparência" menu: light, dark or as the desktop, the checked one the look
// kelpa.ini holds. Choosing one gives every window that look now and keeps it for the next start
// (when kelpa.ini cannot be written, that is said, and the look holds for this run only).
#pragma once

#include <QObject>

#include "session/settings.h"

class QMenu;

namespace kelpa {

class Session;

class TLookMenu : public QObject {
 public:
  // Adds the menu to parent.
  TLookMenu(QMenu* parent, Session& session);

  // Checks the item of look.
  void Check(Look look);

 private:
  void Choose(Look look);

  QMenu* menu_;
  Session& session_;
};

}  // namespace kelpa
