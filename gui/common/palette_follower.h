// SPDX-License-Identifier: MIT
// Colours a widget takes from the application's palette once and sets as its own would stay as
// they were when the look changes while the program runs: a follower sets them again after every
// change of the application's palette.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace kelpa {

class PaletteFollower : public QObject {
 public:
  // Runs paint now and after each change of the application's palette, for as long as widget
  // (which owns the follower) lives.
  PaletteFollower(QWidget* widget, std::function<void()> paint);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> paint_;
};

}  // namespace kelpa
