// SPDX-License-Identifier: MIT
// The zoom chosen while the program runs. Qt's scale factor (window_zoom.h) is read only once, at
// start; a zoom chosen later scales every window by hand on top of it, from the sizes the windows
// were designed with: geometry, least and most sizes, fonts, the rows and columns of grids. The
// run goes on meanwhile. What a widget paints in designed pixels it scales by ZoomOf itself.
// User-interface thread only.
#pragma once

class QRect;
class QWidget;

namespace kelpa {

// The factor on top of the start's zoom (1 until a zoom is chosen), and its change; the windows
// follow as ZoomWindow is called on each (KeepOnScreen does it when a window is shown).
double LiveZoom();
void SetLiveZoom(double factor);

// Scales window and everything in it to factor (1: as designed). A window scaled again comes
// back to the same sizes, with no drift; a size a widget was given since the last zoom counts
// as given at that zoom.
void ZoomWindow(QWidget* window, double factor);

// A window just moved or shrunk from `before` to fit the screen keeps its designed place and size
// for the next zoom, which starts again from them; a place the user gave it is kept instead.
void KeepDesignedPlace(QWidget* window, const QRect& before);

// The factor widget's window is scaled by, for what it paints in designed pixels.
double ZoomOf(const QWidget* widget);

}  // namespace kelpa
