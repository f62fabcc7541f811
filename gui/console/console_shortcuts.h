// SPDX-License-Identifier: MIT
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

// Ctrl+N Criar, F1 Help, Ctrl+Q Fim, Ctrl+L the log window, Ctrl+G "Ir para o tick", and
// Shift+F10 "Próximo evento", beside F10's one tick.
const std::array<MenuShortcut, 6>& MenuShortcuts();

// The key of the run/stop button, and of "Passo" (one tick while stopped).
inline constexpr QKeyCombination kRunStopKey(Qt::Key_F5);
inline constexpr QKeyCombination kStepKey(Qt::Key_F10);

// Gives the console's menu items their keys and the console a run/stop key that calls runStop
// and a step key that calls step.
// Each works from every window of the program (not while a modal window is open), so a teacher
// can stop the run with the processor window in front.
void AddConsoleShortcuts(QWidget& console, std::function<void()> runStop,
                         std::function<void()> step);

}  // namespace kelpa
