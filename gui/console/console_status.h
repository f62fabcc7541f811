// SPDX-License-Identifier: MIT
// The console's status text: the hint to create a process while the process table is empty, and
// how many processes live once there are some. The console asks again every second, so the hint
// comes back when the last process ends.
#pragma once

#include <QString>

namespace kelpa {

struct TMessages;

// hint is the text the console shows with no process (its caption in the user's language).
QString ConsoleStatusText(int processes, const QString& hint, const TMessages& msg);

}  // namespace kelpa
