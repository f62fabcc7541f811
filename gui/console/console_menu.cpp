// SPDX-License-Identifier: MIT
#include "gui/console/console_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "gui/console/console_window.h"

namespace kelpa {

namespace {

using Handler = void (TForm1::*)();

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, TForm1& console,
                 Handler handler) {
  auto* item = new QAction(caption, menu);
  item->setObjectName(name);
  QObject::connect(item, &QAction::triggered, &console,
                   [&console, handler] { (console.*handler)(); });
  menu->addAction(item);
  return item;
}

QAction* AddToggle(QMenu* menu, const char* name, const QString& caption, bool checked,
                   TForm1& console, Handler handler) {
  QAction* item = AddItem(menu, name, caption, console, handler);
  item->setCheckable(true);
  item->setChecked(checked);
  return item;
}

}  // namespace

// Every menu opens with Alt and its underlined letter. A translated kelpa.ini sets its own
// letters (or none) with its captions.
TConsoleMenu BuildConsoleMenu(TForm1& console) {
  TConsoleMenu items;
  QMenuBar* bar = console.menuBar();
  bar->setObjectName("MainMenu1");

  QMenu* processo = bar->addMenu("&Processo");
  processo->setObjectName("Processo1");
  AddItem(processo, "Criar1", "&Criar", console, &TForm1::Criar1Click);
  AddItem(processo, "Selecionar1", "&Selecionar", console, &TForm1::Selecionar1Click);
  processo->addSeparator();
  AddItem(processo, "AbrirCenario1", QString::fromUtf8("&Abrir cenário..."), console,
          &TForm1::AbrirCenario1Click);
  AddItem(processo, "SalvarCenario1", QString::fromUtf8("Sal&var cenário..."), console,
          &TForm1::SalvarCenario1Click);
  items.Voltar1 = AddItem(processo, "Voltar1", "Vol&tar...", console, &TForm1::Voltar1Click);
  items.IrParaTick1 =
      AddItem(processo, "IrParaTick1", "&Ir para o tick...", console, &TForm1::IrParaTick1Click);
  items.ProximoEvento1 =
      AddItem(processo, "ProximoEvento1", QString::fromUtf8("Pró&ximo evento..."), console,
              &TForm1::ProximoEvento1Click);
  items.Exercicio1 = AddToggle(processo, "Exercicio1", QString::fromUtf8("&Exercício"), false,
                               console, &TForm1::Exercicio1Click);
  for (QAction* item : {items.Voltar1, items.IrParaTick1, items.ProximoEvento1, items.Exercicio1}) {
    item->setEnabled(false);
  }

  QMenu* janelas = bar->addMenu("&Janelas");
  janelas->setObjectName("Janelas1");
  items.Log1 = AddToggle(janelas, "Log1", "&Log", false, console, &TForm1::Log1Click);
  items.Memriaprincipal1 =
      AddToggle(janelas, "Memriaprincipal1", QString::fromUtf8("&Memória principal"), true, console,
                &TForm1::Memriaprincipal1Click);
  items.Escalonador1 =
      AddToggle(janelas, "Escalonador1", "&Escalonador", true, console, &TForm1::Escalonador1Click);
  items.Estatsticas1 = AddToggle(janelas, "Estatsticas1", QString::fromUtf8("Es&tatísticas"), false,
                                 console, &TForm1::Estatsticas1Click);
  items.LinhaDoTempo1 = AddToggle(janelas, "LinhaDoTempo1", "Li&nha do tempo", false, console,
                                  &TForm1::LinhaDoTempo1Click);
  janelas->addSeparator();
  items.Janelas1 = janelas;

  QMenu* ajuda = bar->addMenu("&Ajuda");
  ajuda->setObjectName("Ajuda1");
  AddItem(ajuda, "Crditos1", QString::fromUtf8("&Créditos"), console, &TForm1::Crditos1Click);
  AddItem(ajuda, "Help1", "&Help", console, &TForm1::Help1Click);
  AddItem(ajuda, "Guia1", "&Guia", console, &TForm1::Guia1Click);

  auto* fim = new QAction("&Fim", bar);
  fim->setObjectName("Fim1");
  QObject::connect(fim, &QAction::triggered, &console, [&console] { console.Fim1Click(); });
  bar->addAction(fim);
  return items;
}

void ToggleWindow(QWidget* window, QAction* item) {
  if (!window) {
    return;
  }
  if (window->isVisible()) {
    item->setChecked(false);
    window->close();
  } else {
    item->setChecked(true);
    window->show();
  }
}

}  // namespace kelpa
