// SPDX-License-Identifier: MIT
#include "gui/console/console_status.h"

#include <string>

#include "catalogue/fill_in.h"
#include "catalogue/messages.h"
#include "gui/common/qt_convert.h"

namespace kelpa {

QString ConsoleStatusText(int processes, const QString& hint, const TMessages& msg) {
  if (processes <= 0) {
    return hint;
  }
  return ToQString(FillIn(msg.MsgProcessosVivos, {std::to_string(processes)}));
}

}  // namespace kelpa
