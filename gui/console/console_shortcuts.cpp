#include "gui/console/console_shortcuts.h"

#include <QAction>
#include <QWidget>
#include <utility>

namespace kelpa {

const std::array<MenuShortcut, 4>& MenuShortcuts() {
  static const std::array<MenuShortcut, 4> shortcuts = {{
      {"Criar1", Qt::CTRL | Qt::Key_N},
      {"Help1", QKeyCombination(Qt::Key_F1)},
      {"Fim1", Qt::CTRL | Qt::Key_Q},
      {"Log1", Qt::CTRL | Qt::Key_L},
      // F10 is kept for "Passo", a step of the simulation, when that command comes.
  }};
  return shortcuts;
}

void AddConsoleShortcuts(QWidget& console, std::function<void()> runStop) {
  for (const MenuShortcut& shortcut : MenuShortcuts()) {
    auto* item = console.findChild<QAction*>(QString::fromLatin1(shortcut.Item));
    if (item == nullptr) {
      continue;
    }
    item->setShortcut(QKeySequence(shortcut.Key));
    item->setShortcutContext(Qt::ApplicationShortcut);
  }
  // Not the button's own shortcut: the button's caption changes with every click, and a new
  // caption replaces a button's shortcut with its mnemonic. Unnamed, since it has no caption.
  auto* runStopKey = new QAction(&console);
  runStopKey->setShortcut(QKeySequence(kRunStopKey));
  runStopKey->setShortcutContext(Qt::ApplicationShortcut);
  QObject::connect(runStopKey, &QAction::triggered, &console, std::move(runStop));
  console.addAction(runStopKey);
}

}  // namespace kelpa
