// SPDX-License-Identifier: MIT
#include "gui/console/console_shortcuts.h"

#include <QAction>
#include <QWidget>
#include <utility>

namespace kelpa {

const std::array<MenuShortcut, 6>& MenuShortcuts() {
  static const std::array<MenuShortcut, 6> shortcuts = {{
      {"Criar1", Qt::CTRL | Qt::Key_N},
      {"Help1", QKeyCombination(Qt::Key_F1)},
      {"Fim1", Qt::CTRL | Qt::Key_Q},
      {"Log1", Qt::CTRL | Qt::Key_L},
      {"IrParaTick1", Qt::CTRL | Qt::Key_G},
      {"ProximoEvento1", Qt::SHIFT | Qt::Key_F10},
  }};
  return shortcuts;
}

namespace {

// Not the buttons' own shortcuts: a button's caption changes with every click, and a new caption
// replaces a button's shortcut with its mnemonic. Unnamed, since they have no caption.
void AddKey(QWidget& console, QKeyCombination key, std::function<void()> action) {
  auto* item = new QAction(&console);
  item->setShortcut(QKeySequence(key));
  item->setShortcutContext(Qt::ApplicationShortcut);
  QObject::connect(item, &QAction::triggered, &console, std::move(action));
  console.addAction(item);
}

}  // namespace

void AddConsoleShortcuts(QWidget& console, std::function<void()> runStop,
                         std::function<void()> step) {
  for (const MenuShortcut& shortcut : MenuShortcuts()) {
    auto* item = console.findChild<QAction*>(QString::fromLatin1(shortcut.Item));
    if (item == nullptr) {
      continue;
    }
    item->setShortcut(QKeySequence(shortcut.Key));
    item->setShortcutContext(Qt::ApplicationShortcut);
  }
  AddKey(console, kRunStopKey, std::move(runStop));
  AddKey(console, kStepKey, std::move(step));
}

}  // namespace kelpa
