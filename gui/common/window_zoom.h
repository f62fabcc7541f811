// SPDX-License-Identifier: MIT
// The zoom of every window, for a projector. Qt scales a whole program by the factor in
// QT_SCALE_FACTOR, which it reads once, when the application object is made; window geometry is
// placed by hand in design pixels throughout, so that factor is the one place where every
// window, font and picture grows together. Qt reads it only once: a zoom chosen while the program
// runs is applied by hand on top of it (live_zoom.h), and taken here whole at the next start.
#pragma once

#include <QByteArray>

namespace kelpa {

// The value QT_SCALE_FACTOR must take for zoom percent, given its value now (empty when unset):
// a factor the user set already (a high-resolution screen) is multiplied, not replaced. Empty
// when the variable is to stay as it is.
QByteArray ScaleFactorForZoom(int percent, const QByteArray& userFactor);

// Before the application object: scales every window by the zoom in kelpa.ini of the current
// folder. Returns that zoom.
int ApplyZoomSetting();

}  // namespace kelpa
