// SPDX-License-Identifier: MIT
#include "gui/common/option_follower.h"

#include <QThread>

namespace kelpa {

void OptionFollower::Report(const SimEvent& event) {
  if (event.Kind != EventKind::OptionChanged) {
    return;
  }
  const auto option = static_cast<OptionId>(event.Page);
  const int value = event.Value;
  if (QThread::currentThread() == thread()) {
    show_(option, value);
    return;
  }
  QMetaObject::invokeMethod(
      this, [this, option, value] { show_(option, value); }, Qt::QueuedConnection);
}

}  // namespace kelpa
