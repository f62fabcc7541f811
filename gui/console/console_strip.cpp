// SPDX-License-Identifier: MIT
#include "gui/console/console_strip.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "gui/console/console_window.h"
#include "gui/console/run_lamp.h"

namespace kelpa {

namespace {

QToolButton* Button(QWidget* strip, const char* name, const QString& caption, int left,
                    TForm1& console, void (TForm1::*handler)()) {
  auto* button = new QToolButton(strip);
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setGeometry(left, 8, 57, 25);
  button->setText(caption);
  QObject::connect(button, &QToolButton::clicked, &console,
                   [&console, handler] { (console.*handler)(); });
  return button;
}

}  // namespace

TConsoleStrip BuildConsoleStrip(TForm1& console) {
  auto* panel = new QFrame(&console);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setFixedSize(kConsoleStripSize);
  console.setCentralWidget(panel);

  TConsoleStrip strip;
  strip.Lamp = new TRunLamp(panel, &console);
  strip.SpeedButton1 =
      Button(panel, "SpeedButton1", "Parar", 352, console, &TForm1::SpeedButton1Click);
  strip.SpeedButton2 =
      Button(panel, "SpeedButton2", "Passo", 292, console, &TForm1::SpeedButton2Click);
  strip.SpeedButton2->setEnabled(false);
  strip.SpeedButton3 = Button(panel, "SpeedButton3", QString::fromUtf8("Exercício"), 96, console,
                              &TForm1::Exercicio1Click);
  strip.SpeedButton3->setCheckable(true);
  strip.SpeedButton3->setFixedWidth(78);
  strip.SpeedButton3->hide();

  strip.Tick = new QLabel(panel);
  strip.Tick->setTextFormat(Qt::PlainText);
  strip.Tick->setGeometry(205, 14, 85, 16);

  strip.StaticText1 = new QLabel("Para iniciar, crie um processo.", panel);
  strip.StaticText1->setObjectName("StaticText1");
  strip.StaticText1->move(3, 14);
  strip.StaticText1->adjustSize();
  return strip;
}

}  // namespace kelpa
