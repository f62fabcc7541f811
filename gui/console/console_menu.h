// SPDX-License-Identifier: MIT
// The console's menu bar: "Processo", "Janelas" and "Ajuda", and "Fim" on the bar itself. Every
// item is a component of the console, named as kelpa.ini names it, and calls the console's
// handler of the same name.
#pragma once

class QAction;
class QMenu;
class QWidget;

namespace kelpa {

class TForm1;

// The items the console changes after building the menu.
struct TConsoleMenu {
  // The scenario items, enabled in virtual time only.
  QAction* Voltar1 = nullptr;
  QAction* IrParaTick1 = nullptr;
  QAction* ProximoEvento1 = nullptr;
  // "Exercício", checked while the exercise is on.
  QAction* Exercicio1 = nullptr;
  // The windows' items, checked while their window is shown.
  QAction* Log1 = nullptr;
  QAction* Memriaprincipal1 = nullptr;
  QAction* Escalonador1 = nullptr;
  QAction* Estatsticas1 = nullptr;
  QAction* LinhaDoTempo1 = nullptr;
  // "Janelas", which ends with the zoom and look menus the console adds.
  QMenu* Janelas1 = nullptr;
};

// Builds the menu bar of console.
TConsoleMenu BuildConsoleMenu(TForm1& console);

// Shows window, or closes it when it is shown, with item checked as the window ends up.
void ToggleWindow(QWidget* window, QAction* item);

}  // namespace kelpa
