// The console's keyboard shortcuts. They are keys, not captions: a translated kelpa.ini changes
// what the menus say, never which key does what.
#pragma once

#include <QKeySequence>
#include <array>
#include <functional>

class QWidget;

namespace kelpa {

// A menu item of the console (by its component name) and its key.
struct MenuShortcut {
  const char* Item;
  QKeyCombination Key;
};

// Ctrl+N Criar, F1 Help, Ctrl+Q Fim, Ctrl+L the log window.
const std::array<MenuShortcut, 4>& MenuShortcuts();

// The key of the run/stop button. (F10 is kept for stepping the simulation by one instruction.)
inline constexpr QKeyCombination kRunStopKey(Qt::Key_F5);

// Gives the console's menu items their keys and the console a run/stop key that calls runStop.
// Each works from every window of the program (not while a modal window is open), so a teacher
// can stop the run with the processor window in front.
void AddConsoleShortcuts(QWidget& console, std::function<void()> runStop);

}  // namespace kelpa
