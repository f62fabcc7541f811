// SPDX-License-Identifier: MIT
// Where each disc is drawn on the processor window's client area: the core says only which
// queue or list a process is in and in what order; these are the pixels for it.
#pragma once

#include <QPoint>

#include "simulation/display.h"

namespace kelpa {

// The top-left corner of a 12 x 12 disc standing at `place`.
QPoint DiscPosition(const DiscPlace& place);

}  // namespace kelpa
