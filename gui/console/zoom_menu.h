// SPDX-License-Identifier: MIT
// The console's "Ampliação" menu: one item per zoom, the checked one the zoom kelpa.ini holds,
// the one of the next start. Choosing one keeps it for the next start and scales the windows to
// it now.
#pragma once

#include <QObject>
#include <functional>

class QMenu;

namespace kelpa {

class Session;

class TZoomMenu : public QObject {
 public:
  // Adds the menu to parent. startZoom is the zoom the windows were scaled by at start; zoomed
  // runs once the shown windows are scaled to a new zoom.
  TZoomMenu(QMenu* parent, Session& session, int startZoom, std::function<void()> zoomed);

  // Checks the item of percent; a zoom with no item leaves the check where it is.
  void Check(int percent);

 private:
  void Choose(int percent);

  QMenu* menu_;
  Session& session_;
  int startZoom_;
  std::function<void()> zoomed_;
};

}  // namespace kelpa
